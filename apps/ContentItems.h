#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace apps {

// The list under a key of the flow's content; empty when the content has no such key
// or its value is not a list.
const nlohmann::json& contentList(const nlohmann::json& content, const char* key);

// The host text of one content item: a string as it is, null as no text (the host's
// nil), a map's "text" entry, and any other scalar as it is written (42 → "42").
std::optional<std::string> itemText(const nlohmann::json& item);

} // namespace apps
