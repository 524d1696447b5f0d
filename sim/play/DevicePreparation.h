#pragma once

#include "sim/flow/Flow.h"
#include "sim/play/Installation.h"

#include "support/Expected.h"

#include <string>
#include <string_view>

namespace sim {

// Writes a device file atomically, making its folders as needed, or removes it when
// there are no bytes (a file that is already absent is fine).
support::Expected<void, std::string> replaceDeviceFile(std::string_view devicePath, const FileBytes& bytes);

// Makes the device under device::Device's root what a flow's header says, before the
// flow plays: the settings file and the filter list written or removed, Lexorna and its
// resources installed or removed. App containers are left as they are.
// On a device the user keeps, a flow that says nothing of the settings leaves the settings
// file as it is, so that `prefs set` prepares a run as a phone's settings pane would.
support::Expected<void, std::string> prepareDevice(const Flow& flow, const Installation& installation,
                                                   bool keptDevice);

} // namespace sim
