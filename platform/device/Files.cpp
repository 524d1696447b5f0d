#include "Files.h"
#include "Device.h"
#include "Instruments.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace device {

namespace {

std::string errnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

} // namespace

namespace {

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

Expected<std::string_view, FileError> readFileInto(std::string& buffer, std::string_view devicePath,
                                                   std::size_t maxBytes) {
    Instruments::shared().recordFileOpen(devicePath);
    // Non-blocking, so that a FIFO or a device in the file's place cannot stall the
    // reader; a regular file reads the same either way.
    thread_local std::string hostPath; // a buffer, filled anew for every read
    Device::resolveInto(hostPath, devicePath);
    FileDescriptor fd(::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return Unexpected(FileError{errnoText("open")});
    auto readFailed = [] {
        return Unexpected(FileError{errno == EISDIR ? "not a regular file" : errnoText("read")});
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
        return Unexpected(FileError{"file too large"});
    if (filled < FirstReadBytes)
        return std::string_view(buffer.data(), filled);

    // A larger one is looked at before it is read whole.
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return Unexpected(FileError{errnoText("stat")});
    if (!S_ISREG(info.st_mode))
        return Unexpected(FileError{"not a regular file"});
    if (static_cast<std::size_t>(info.st_size) > maxBytes)
        return Unexpected(FileError{"file too large"});
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
            return Unexpected(FileError{"file too large"});
        buffer.resize(
            std::min(buffer.size() * 2, std::max(maxBytes, maxBytes + 1))); // maxBytes + 1, unwrapped
    }
    if (filled > maxBytes)
        return Unexpected(FileError{"file too large"});
    return std::string_view(buffer.data(), filled);
}

Expected<std::string, FileError> readFile(std::string_view devicePath, std::size_t maxBytes) {
    std::string bytes;
    auto read = readFileInto(bytes, devicePath, maxBytes);
    if (!read)
        return Unexpected(read.error());
    bytes.resize(read->size());
    return bytes;
}

Expected<void, FileError> writeFileAtomically(std::string_view devicePath, std::string_view bytes) {
    auto path = Device::resolve(devicePath);
    std::string temporary = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0)
        return Unexpected(FileError{errnoText("create")});
    auto fail = [&](const char* what) {
        std::string reason = errnoText(what);
        ::unlink(temporary.c_str());
        return Unexpected(FileError{reason});
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
    if (::fsync(fd.get()) != 0)
        return fail("sync");
    if (::close(fd.release()) != 0)
        return fail("close");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return fail("rename");
    return {};
}

} // namespace device
