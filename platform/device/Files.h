#pragma once

#include "Expected.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace device {

struct FileError {
    std::string reason; // what went wrong, for the simulator's messages
};

// Reads a device file. Every attempt counts as an open in the instruments, found or
// not. A file larger than maxBytes is refused without being read whole.
Expected<std::string, FileError> readFile(std::string_view devicePath, std::size_t maxBytes);

// Replaces a device file atomically: the bytes go to a temporary file in the same
// folder, which is then renamed over the path. A reader sees the old file or the new
// one, never a part; a link at the path is replaced, not followed.
Expected<void, FileError> writeFileAtomically(std::string_view devicePath, std::string_view bytes);

} // namespace device
