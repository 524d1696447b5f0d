#include "ContentItems.h"

namespace apps {

const nlohmann::json& contentList(const nlohmann::json& content, const char* key) {
    static const nlohmann::json empty = nlohmann::json::array();
    if (!content.is_object())
        return empty;
    auto it = content.find(key);
    return it != content.end() && it->is_array() ? *it : empty;
}

std::optional<std::string> itemText(const nlohmann::json& item) {
    if (item.is_string())
        return item.get<std::string>();
    if (item.is_null())
        return std::nullopt;
    if (item.is_object()) {
        auto text = item.find("text");
        return text != item.end() ? itemText(*text) : std::nullopt;
    }
    if (item.is_array())
        return std::nullopt;
    return item.dump();
}

} // namespace apps
