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
// not. A file over maxBytes is refused without being read whole: the first read takes
// at most FirstReadBytes, and a file that fills it is looked at (its kind and its size) before
// more is read, so a device or a FIFO in the file's place gives no more than that.
Expected<std::string, FileError> readFile(std::string_view devicePath, std::size_t maxBytes);

// The same into a buffer the caller keeps across reads, so that a file read again and
// again costs no allocation: the answer views the buffer's start, valid until the
// buffer changes. The buffer keeps at least FirstReadBytes.
inline constexpr std::size_t FirstReadBytes = 16384;
Expected<std::string_view, FileError> readFileInto(std::string& buffer, std::string_view devicePath,
                                                   std::size_t maxBytes);

// Replaces a device file atomically: the bytes go to a temporary file in the same
// folder, which is then renamed over the path. A reader sees the old file or the new
// one, never a part; a link at the path is replaced, not followed.
Expected<void, FileError> writeFileAtomically(std::string_view devicePath, std::string_view bytes);

} // namespace device
