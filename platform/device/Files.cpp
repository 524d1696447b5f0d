#include "Files.h"
#include "Device.h"
#include "FileDescriptor.h"
#include "Instruments.h"
#include "RemoveTree.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace device {

namespace {

// What the system said of the call that just failed.
FileError systemError(const char* what) {
    return FileError{std::string(what) + ": " + std::strerror(errno), errno};
}

struct FolderEntry {
    FileDescriptor folder;
    std::string folderPath; // relative and normalised, for the faults
    std::string name;       // empty for the root
};

// Opens the folder that holds a device path's entry, beneath the root and through no link.
support::Expected<FolderEntry, FileError> openFolderOf(std::string_view devicePath) {
    FolderEntry entry;
    Device::relativeInto(entry.folderPath, devicePath);
    std::size_t slash = entry.folderPath.rfind('/');
    entry.name = entry.folderPath.substr(slash == std::string::npos ? 0 : slash + 1);
    entry.folderPath.resize(slash == std::string::npos ? 0 : slash);
    entry.folder = FileDescriptor(Device::openBeneath(entry.folderPath, O_PATH | O_DIRECTORY));
    if (!entry.folder.isOpen())
        return support::Unexpected(systemError("open the folder"));
    return entry;
}

support::Unexpected<FileError> refusal(int error) {
    errno = error;
    return support::Unexpected(systemError("write"));
}

std::string temporaryName(std::string_view name) {
    static std::atomic<unsigned> counter{0};
    auto seed = static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                (static_cast<unsigned long>(::getpid()) << 20) ^ counter.fetch_add(1);
    std::string suffix = std::to_string(seed % 1000000007UL);
    return "." + std::string(name) + "." + suffix;
}

// While it lives, SIGXFSZ is held for the calling thread, so that a write past the
// process's file-size limit fails with EFBIG instead of killing the host; a signal
// raised meanwhile is taken away before the thread's mask is given back.
class FileSizeSignalHeld {
public:
    FileSizeSignalHeld() {
        sigemptyset(&signal_);
        sigaddset(&signal_, SIGXFSZ);
        sigset_t pending;
        sigpending(&pending);
        alreadyPending_ = sigismember(&pending, SIGXFSZ) == 1;
        pthread_sigmask(SIG_BLOCK, &signal_, &previous_);
    }
    ~FileSizeSignalHeld() {
        sigset_t pending;
        sigpending(&pending);
        if (!alreadyPending_ && sigismember(&pending, SIGXFSZ) == 1) {
            timespec now{};
            sigtimedwait(&signal_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

private:
    sigset_t signal_{};
    sigset_t previous_{};
    bool alreadyPending_ = false;
};

ssize_t readSome(int fd, char* into, std::size_t size) {
    for (;;) {
        ssize_t n = ::read(fd, into, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

} // namespace

namespace {

support::Expected<std::string_view, FileError> readInto(std::string& buffer, std::string_view devicePath,
                                                        std::size_t maxBytes) {
    // Non-blocking, so that a FIFO or a device in the file's place cannot stall the
    // reader; a regular file reads the same either way.
    FileDescriptor fd(Device::openBeneath(devicePath, O_RDONLY | O_NONBLOCK));
    if (fd.get() < 0)
        return support::Unexpected(systemError("open"));
    auto readFailed = [] {
        return support::Unexpected(errno == EISDIR ? FileError{"not a regular file", EISDIR}
                                                   : systemError("read"));
    };
    // A small file, the usual case, comes whole with the first read: a regular file
    // answers short only at its end, so neither its size nor a second read is needed.
    // Settings are read on every layout pass of a hooked view, and this saves a third
    // of the system calls.
    if (buffer.size() < FirstReadBytes)
        buffer.resize(FirstReadBytes);
    ssize_t n = readSome(fd.get(), buffer.data(), FirstReadBytes);
    if (n < 0)
        return readFailed();
    std::size_t filled = static_cast<std::size_t>(n);
    if (filled > maxBytes)
        return support::Unexpected(FileError{"file too large"});
    if (filled < FirstReadBytes)
        return std::string_view(buffer.data(), filled);

    // A larger one is looked at before it is read whole.
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return support::Unexpected(systemError("stat"));
    if (!S_ISREG(info.st_mode))
        return support::Unexpected(FileError{"not a regular file"});
    if (static_cast<std::size_t>(info.st_size) > maxBytes)
        return support::Unexpected(FileError{"file too large"});
    // Room for one byte more than fstat saw, to see where the file ends.
    buffer.resize(std::max({buffer.size(), static_cast<std::size_t>(info.st_size) + 1, filled + 1}));
    for (;;) {
        n = readSome(fd.get(), buffer.data() + filled, buffer.size() - filled);
        if (n < 0)
            return readFailed();
        filled += static_cast<std::size_t>(n);
        if (filled < buffer.size())
            break;
        // The file has grown since fstat.
        if (filled > maxBytes)
            return support::Unexpected(FileError{"file too large"});
        buffer.resize(
            std::min(buffer.size() * 2, std::max(maxBytes, maxBytes + 1))); // maxBytes + 1, unwrapped
    }
    if (filled > maxBytes)
        return support::Unexpected(FileError{"file too large"});
    return std::string_view(buffer.data(), filled);
}

support::Expected<std::string, FileError> readWhole(std::string_view devicePath, std::size_t maxBytes) {
    std::string bytes;
    auto read = readInto(bytes, devicePath, maxBytes);
    if (!read)
        return support::Unexpected(read.error());
    bytes.resize(read->size());
    return bytes;
}

} // namespace

support::Expected<std::string_view, FileError> readFileInto(std::string& buffer, std::string_view devicePath,
                                                            std::size_t maxBytes) {
    Instruments::shared().recordFileOpen(devicePath);
    return readInto(buffer, devicePath, maxBytes);
}

support::Expected<std::string, FileError> readFile(std::string_view devicePath, std::size_t maxBytes) {
    Instruments::shared().recordFileOpen(devicePath);
    return readWhole(devicePath, maxBytes);
}

support::Expected<std::string, FileError> readFileUnrecorded(std::string_view devicePath,
                                                             std::size_t maxBytes) {
    return readWhole(devicePath, maxBytes);
}

support::Expected<void, FileError> replaceFileIn(int folder, std::string_view name, std::string_view bytes,
                                                 Durability durability) {
    std::string temporary;
    FileDescriptor fd;
    for (int attempt = 0; attempt < 100 && !fd.isOpen(); ++attempt) {
        temporary = temporaryName(name);
        fd = FileDescriptor(
            ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd.isOpen() && errno != EEXIST)
            break;
    }
    if (!fd.isOpen())
        return support::Unexpected(systemError("create"));
    auto fail = [&](const char* what) {
        FileError error = systemError(what);
        ::unlinkat(folder, temporary.c_str(), 0);
        return support::Unexpected(error);
    };
    // The platform's default attributes for a new file: readable by everyone, as iOS
    // gives files created without attributes.
    if (::fchmod(fd.get(), 0644) != 0)
        return fail("chmod");
    std::size_t written = 0;
    FileSizeSignalHeld held;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail("write");
        }
        written += static_cast<std::size_t>(n);
    }
    if (durability == Durability::Synced && ::fsync(fd.get()) != 0)
        return fail("sync");
    if (::close(fd.release()) != 0)
        return fail("close");
    // rename(2) replaces the entry itself: a link standing there is not followed.
    if (::renameat(folder, temporary.c_str(), folder, std::string(name).c_str()) != 0)
        return fail("rename");
    return {};
}

support::Expected<void, FileError> writeFileAtomically(std::string_view devicePath, std::string_view bytes) {
    auto entry = openFolderOf(devicePath);
    if (!entry)
        return support::Unexpected(entry.error());
    if (entry->name.empty())
        return refusal(EISDIR);
    if (int refused = Device::refusedChange(entry->folderPath, true))
        return refusal(refused);
    return replaceFileIn(entry->folder.get(), entry->name, bytes);
}

support::Expected<EntryKind, FileError> entryKind(std::string_view devicePath) {
    auto entry = openFolderOf(devicePath);
    if (!entry) {
        if (entry.error().code == ENOENT || entry.error().code == ENOTDIR)
            return EntryKind::Missing;
        return support::Unexpected(entry.error());
    }
    if (entry->name.empty())
        return EntryKind::Folder;
    struct stat info {};
    if (::fstatat(entry->folder.get(), entry->name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return EntryKind::Missing;
        return support::Unexpected(systemError("stat"));
    }
    if (S_ISREG(info.st_mode))
        return EntryKind::File;
    if (S_ISDIR(info.st_mode))
        return EntryKind::Folder;
    if (S_ISLNK(info.st_mode))
        return EntryKind::Link;
    return EntryKind::Other;
}

support::Expected<void, FileError> removeItem(std::string_view devicePath) {
    auto entry = openFolderOf(devicePath);
    if (!entry)
        return support::Unexpected(entry.error());
    if (entry->name.empty())
        return refusal(EBUSY);
    std::string itself = entry->folderPath.empty() ? entry->name : entry->folderPath + "/" + entry->name;
    if (int refused = Device::refusedChange(entry->folderPath, false))
        return refusal(refused);
    if (int refused = Device::refusedChange(itself, false))
        return refusal(refused);
    if (int failed = removeTreeAt(entry->folder.get(), entry->name.c_str())) {
        errno = failed;
        return support::Unexpected(systemError("remove"));
    }
    return {};
}

support::Expected<void, FileError> makeFolders(std::string_view devicePath) {
    std::string relative;
    Device::relativeInto(relative, devicePath);
    FileDescriptor folder(Device::openBeneath("", O_PATH | O_DIRECTORY));
    if (!folder.isOpen())
        return support::Unexpected(systemError("open the root"));
    for (std::size_t at = 0; at < relative.size();) {
        std::size_t end = std::min(relative.find('/', at), relative.size());
        std::string part = relative.substr(at, end - at);
        struct stat info {};
        if (::fstatat(folder.get(), part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return support::Unexpected(systemError("stat"));
            if (int refused =
                    Device::refusedChange(std::string_view(relative).substr(0, at ? at - 1 : 0), true))
                return refusal(refused);
            if (::mkdirat(folder.get(), part.c_str(), 0755) != 0 && errno != EEXIST)
                return support::Unexpected(systemError("make the folder"));
        }
        FileDescriptor next(
            ::openat(folder.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.isOpen())
            return support::Unexpected(systemError("open the folder"));
        folder = std::move(next);
        at = end + 1;
    }
    return {};
}

} // namespace device
