#pragma once

#include "NSDictionary.h"
#include "NSString.h"

#include <iterator>
#include <string_view>
#include <unordered_map>
#include <vector>

// A dictionary from the entries a property-list reader met, in the order it met them,
// every key a string. A key given twice keeps its last value in its first place, as
// Foundation's reader does.
template <class Iterator> NSDictionary* dictionaryFromEntries(Iterator first, Iterator last) {
    std::vector<NSDictionary::Entry> entries;
    entries.reserve(static_cast<std::size_t>(std::distance(first, last)));
    auto keyOf = [](const NSDictionary::Entry& entry) -> std::string_view {
        return static_cast<NSString*>(entry.first.get())->utf8();
    };
    // A settings file has a dozen keys: a scan is cheapest there; a large dictionary is
    // indexed so that its reading stays linear.
    constexpr std::size_t ScanLimit = 16;
    std::unordered_map<std::string_view, std::size_t> positions;
    for (auto it = first; it != last; ++it) {
        std::string_view key = keyOf(*it);
        std::size_t found = entries.size();
        if (entries.size() < ScanLimit) {
            for (std::size_t i = 0; i < entries.size(); ++i)
                if (keyOf(entries[i]) == key)
                    found = i;
        } else {
            if (positions.empty())
                for (std::size_t i = 0; i < entries.size(); ++i)
                    positions.emplace(keyOf(entries[i]), i);
            auto [position, inserted] = positions.try_emplace(key, entries.size());
            found = position->second;
        }
        if (found < entries.size())
            entries[found].second = std::move(it->second);
        else
            entries.push_back(std::move(*it));
    }
    return NSDictionary::make(std::move(entries));
}
