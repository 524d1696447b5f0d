#include "Files.h"
#include "Device.h"
#include "Instruments.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

Expected<std::string, FileError> readFile(std::string_view devicePath, std::size_t maxBytes) {
    Instruments::shared().recordFileOpen(std::string(devicePath));
    auto path = Device::resolve(devicePath);
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return Unexpected(FileError{errnoText("open")});
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return Unexpected(FileError{errnoText("stat")});
    if (!S_ISREG(info.st_mode))
        return Unexpected(FileError{"not a regular file"});
    if (static_cast<std::size_t>(info.st_size) > maxBytes)
        return Unexpected(FileError{"file too large"});
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Unexpected(FileError{errnoText("read")});
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        // The file may have grown since fstat.
        if (bytes.size() > maxBytes)
            return Unexpected(FileError{"file too large"});
    }
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
