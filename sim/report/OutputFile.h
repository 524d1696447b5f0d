#pragma once

#include "support/Expected.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace sim {

// Writes one of the simulator's outputs (a screenshot, a report, the page) whole: a file
// of that name is replaced, and a symbolic link of that name is replaced too, never
// written through, so a run cannot overwrite a file elsewhere on the machine. It is not
// synced to the disk: a run writes its outputs anew.
support::Expected<void, std::string> writeOutputFile(const std::filesystem::path& file,
                                                     std::string_view bytes);

} // namespace sim
