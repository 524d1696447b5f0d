#include "sim/flow/NearestName.h"

#include <algorithm>
#include <cctype>

namespace sim {

namespace {

// Names from other flow tools, and what they are called here.
constexpr std::pair<std::string_view, std::string_view> KnownElsewhere[] = {
    {"launchapp", "launch"},
    {"appid", "app"},
};

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::optional<std::string> nearestName(std::string_view wrong, const std::vector<std::string_view>& names) {
    const std::string key = lower(wrong);
    for (const auto& [elsewhere, here] : KnownElsewhere)
        if (key == elsewhere && std::find(names.begin(), names.end(), here) != names.end())
            return std::string(here);
    std::optional<std::string> best;
    std::size_t bestDistance = std::max<std::size_t>(1, key.size() / 3) + 1;
    for (auto name : names) {
        std::size_t distance = editDistance(key, lower(name));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = std::string(name);
        }
    }
    return best;
}

std::string didYouMean(std::string_view wrong, const std::vector<std::string_view>& names) {
    auto near = nearestName(wrong, names);
    return near ? " (did you mean `" + *near + "`?)" : "";
}

} // namespace sim
