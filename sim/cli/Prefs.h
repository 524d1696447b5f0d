#pragma once

#include "foundation/PropertyList.h"
#include "objc/Object.h"
#include "support/Expected.h"

#include <string>
#include <string_view>

namespace sim {

// The settings file of the device under device::Device's root, read and written as the
// settings pane of a device does it: one key at a time, each write an atomic replace of
// the whole file. A file that exists but is not a dictionary property list is refused
// rather than overwritten, so no crafted or damaged file is lost by accident.

// A value given on the command line: true/false is a boolean, a number an integer or a
// real, a "quoted" text (or any other text) a string.
id settingValueFromArgument(std::string_view text);

// The value `prefs set KEY TEXT` writes: for a switch of the settings pane a boolean, as the
// pane writes it (yes/no, true/false, 1/0), and an error for any other text; for other keys
// the value settingValueFromArgument reads.
support::Expected<objc::Ref<objc::Object>, std::string> settingValueFor(std::string_view key,
                                                                        std::string_view text);

// The value of a key, nil when the key or the file is absent.
support::Expected<objc::Ref<objc::Object>, std::string> readSetting(std::string_view key);

// Sets a key, writing the file in the format given.
support::Expected<void, std::string> writeSetting(std::string_view key, id value, PropertyListFormat format);

// Removes a key; the file keeps the format it has. Nothing happens when it is absent.
support::Expected<void, std::string> removeSetting(std::string_view key);

// How `prefs get` prints a value: text as it is, anything else as JSON.
std::string settingText(id value);

} // namespace sim
