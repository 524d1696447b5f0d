#pragma once

#include <yaml-cpp/mark.h>

#include <cstddef>
#include <optional>
#include <string_view>

namespace sim {

// Where a YAML text's document number `limit + 1` starts, if it has that many. yaml-cpp's
// LoadAll never ends on some malformed texts (a `,` where a node may start makes an empty
// document without consuming the `,`, again and again, until memory runs out), so the
// documents are counted first, with nothing built, and no further than needed.
// Raises YAML::Exception for text that does not parse.
std::optional<YAML::Mark> startOfDocumentPast(std::string_view yaml, std::size_t limit);

} // namespace sim
