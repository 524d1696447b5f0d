#pragma once

#include "NSDictionary.h"
#include "NSString.h"
#include "PropertyList.h"

#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

// A dictionary from the entries a property-list reader met, in the order it met them,
// every key a string. A key given twice keeps its last value in its first place, as
// Foundation's reader does. The entries are merged in place and become the
// dictionary's own, so a dictionary costs one list of entries.
inline objc::Ref<NSDictionary> dictionaryFromEntries(std::vector<NSDictionary::Entry>&& entries,
                                                     PropertyListMutability mutability) {
    auto keyOf = [](const NSDictionary::Entry& entry) -> std::string_view {
        return static_cast<NSString*>(entry.first.get())->utf8();
    };
    // Keys mostly differ in their length or their first letter: tested before the bytes.
    auto sameKey = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && (a.empty() || a[0] == b[0]) && a == b;
    };
    // A settings file has a dozen keys: a scan of their texts, kept at hand, is cheapest
    // there; a large dictionary is indexed so that its reading stays linear.
    constexpr std::size_t ScanLimit = 16;
    std::array<std::string_view, ScanLimit> scanned;
    std::unordered_map<std::string_view, std::size_t> positions;
    std::size_t kept = 0;
    for (std::size_t next = 0; next < entries.size(); ++next) {
        std::string_view key = keyOf(entries[next]);
        std::size_t found = kept;
        if (kept < ScanLimit) {
            for (std::size_t i = 0; i < kept && found == kept; ++i)
                if (sameKey(scanned[i], key))
                    found = i;
            if (found == kept)
                scanned[kept] = key;
        } else {
            if (positions.empty())
                for (std::size_t i = 0; i < kept; ++i)
                    positions.emplace(keyOf(entries[i]), i);
            found = positions.try_emplace(key, kept).first->second;
        }
        if (found < kept)
            entries[found].second = std::move(entries[next].second);
        else if (kept++ != next)
            entries[kept - 1] = std::move(entries[next]);
    }
    entries.resize(kept);
    if (mutability == PropertyListMutability::MutableRoot)
        return NSMutableDictionary::makeOwned(std::move(entries));
    return NSDictionary::makeOwned(std::move(entries));
}
