#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// The valid name a person most likely meant by a wrong one, for "did you mean" hints:
// the closest by edit distance, case aside, when it is close enough to be a slip; and
// the names of the tools testers already know (`launchApp`, `appId`) where those differ.
std::optional<std::string> nearestName(std::string_view wrong, const std::vector<std::string_view>& names);

// " (did you mean `tapOn`?)", or nothing when no name is near.
std::string didYouMean(std::string_view wrong, const std::vector<std::string_view>& names);

} // namespace sim
