#pragma once

#include "support/Expected.h"

#include <filesystem>
#include <string>

namespace sim {

// Makes a host folder (and its parents) when missing and checks that files can be made in
// it, so that a folder the simulator cannot use is named before anything plays. The error
// says what is wrong with it: "not a folder", "it cannot be written (Permission denied)".
support::Expected<void, std::string> makeWritableFolder(const std::filesystem::path& folder);

} // namespace sim
