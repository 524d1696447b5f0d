#pragma once

#include "support/Expected.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace device {

struct FileError {
    std::string reason; // what went wrong, for the simulator's messages
    int code = 0;       // the system's errno, when the system refused
};

// Reads a device file. Every attempt counts as an open in the instruments, found or
// not. A file over maxBytes is refused without being read whole: the first read takes
// at most FirstReadBytes, and a file that fills it is looked at (its kind and its size) before
// more is read, so a device or a FIFO in the file's place gives no more than that.
support::Expected<std::string, FileError> readFile(std::string_view devicePath, std::size_t maxBytes);

// The same as an observer of the device reads (the simulator, checking what the app
// wrote): not counted as an open of the process.
support::Expected<std::string, FileError> readFileUnrecorded(std::string_view devicePath,
                                                             std::size_t maxBytes);

// The same into a buffer the caller keeps across reads, so that a file read again and
// again costs no allocation: the answer views the buffer's start, valid until the
// buffer changes. The buffer keeps at least FirstReadBytes.
inline constexpr std::size_t FirstReadBytes = 16384;
support::Expected<std::string_view, FileError> readFileInto(std::string& buffer, std::string_view devicePath,
                                                            std::size_t maxBytes);

// Replaces a device file atomically: the bytes go to a temporary file in the same
// folder, which is then renamed over the path. A reader sees the old file or the new
// one, never a part; a link at the path is replaced, not followed.
support::Expected<void, FileError> writeFileAtomically(std::string_view devicePath, std::string_view bytes);

// Whether the new file reaches the disk before it takes the old one's place: a device's
// file must outlast a crash as the old one would; an output that a run writes anew need
// not wait for the disk, which costs a screenshot more than drawing it.
enum class Durability { Synced, Unsynced };

// The same for a file named in a folder of the machine that the caller has open (a
// screenshot, a report): a link in the file's place is replaced, never written through.
support::Expected<void, FileError> replaceFileIn(int folder, std::string_view name, std::string_view bytes,
                                                 Durability durability = Durability::Synced);

// What stands at a device path, the path's own entry: a link is a link, not its target.
enum class EntryKind { Missing, File, Folder, Link, Other };
support::Expected<EntryKind, FileError> entryKind(std::string_view devicePath);

// Removes the entry at a device path: a file, a link (never its target) or a folder with
// all it holds. The root is never removed.
support::Expected<void, FileError> removeItem(std::string_view devicePath);

// Makes a device folder and the folders above it that are missing.
support::Expected<void, FileError> makeFolders(std::string_view devicePath);

} // namespace device
