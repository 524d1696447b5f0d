#pragma once

#include "objc/Object.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sim {

// The switches of Lexorna's settings pane (tweak/resources/PreferenceLoader): the keys it
// writes, always as booleans. The library reads each with Foundation's boolValue, so a
// value of another type still turns a switch on or off, though the pane never writes one.
std::span<const std::string_view> paneSwitches();
bool isPaneSwitch(std::string_view key);

// A switch's value as a person types it: yes/no, true/false, 1/0, case aside; nothing
// for any other text.
std::optional<bool> switchValueFromText(std::string_view text);

// Why a switch's value is not what the pane writes, and how the library reads it: nothing
// for a boolean; else `the text "yes", not a boolean; Lexorna reads it as on (boolValue)`.
std::optional<std::string> switchValueWarning(id value);

} // namespace sim
