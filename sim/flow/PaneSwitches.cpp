#include "sim/flow/PaneSwitches.h"

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace sim {

namespace {

constexpr std::array<std::string_view, 11> Switches{
    "Aw",           "WhatsApp",     "Youtube",      "Twitter",      "Instagram",    "Messages",
    "WACustomView", "YTCustomView", "TWCustomView", "INCustomView", "MECustomView",
};

bool sameLetters(std::string_view text, std::string_view lower) {
    return text.size() == lower.size() && std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

// What a value is, as a person reads the flow that gave it.
std::string valueKind(id value) {
    if (auto* string = objc::dynCast<NSString>(value))
        return "the text \"" + string->utf8() + "\"";
    if (auto* number = objc::dynCast<NSNumber>(value))
        return "the number " + number->description();
    if (objc::dynCast<NSArray>(value))
        return "a list";
    if (objc::dynCast<NSDictionary>(value))
        return "a map";
    if (objc::dynCast<NSData>(value))
        return "bytes";
    return std::string("a ") + object_getClassName(value);
}

} // namespace

std::span<const std::string_view> paneSwitches() {
    return Switches;
}

bool isPaneSwitch(std::string_view key) {
    return std::find(Switches.begin(), Switches.end(), key) != Switches.end();
}

std::optional<bool> switchValueFromText(std::string_view text) {
    for (std::string_view on : {"yes", "true", "1"})
        if (sameLetters(text, on))
            return true;
    for (std::string_view off : {"no", "false", "0"})
        if (sameLetters(text, off))
            return false;
    return std::nullopt;
}

std::optional<std::string> switchValueWarning(id value) {
    auto* number = objc::dynCast<NSNumber>(value);
    if (number && number->kind() == NSNumber::Kind::Boolean)
        return std::nullopt;
    // Foundation's boolValue, as the library asks it; what has none reads as off.
    if (auto* string = objc::dynCast<NSString>(value))
        return valueKind(value) + ", not a boolean; Lexorna reads it as " +
               (string->boolValue() ? "on" : "off") + " (NSString's boolValue)";
    if (number)
        return valueKind(value) + ", not a boolean; Lexorna reads it as " + (number->boolValue() ? "on" : "off") +
               " (NSNumber's boolValue)";
    return valueKind(value) + ", not a boolean; Lexorna reads it as off (it has no boolValue)";
}

} // namespace sim
