#include "MadeFolder.h"
#include "FileDescriptor.h"
#include "RemoveTree.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace device {

namespace {

std::string systemText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

} // namespace

support::Expected<MadeFolder, std::string> MadeFolder::makeTemporary(std::string_view prefix) {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        base = "/tmp";
    std::string pattern = (base / prefix).string() + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        return support::Unexpected(systemText("cannot make a folder in " + base.string()));
    FileDescriptor folder(::open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!folder.isOpen() || ::fstat(folder.get(), &info) != 0)
        return support::Unexpected(systemText("cannot open " + pattern));
    FileDescriptor mark(::openat(folder.get(), MarkName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!mark.isOpen()) {
        std::string reason = systemText("cannot mark " + pattern);
        ::rmdir(pattern.c_str());
        return support::Unexpected(reason);
    }
    return MadeFolder(pattern, info.st_dev, info.st_ino);
}

MadeFolder::MadeFolder(MadeFolder&& other) noexcept
    : path_(std::move(other.path_)), device_(other.device_), inode_(other.inode_),
      owned_(std::exchange(other.owned_, false)) {}

MadeFolder::~MadeFolder() {
    if (owned_)
        (void)remove(); // a folder that cannot be removed is left in the temporary folder
}

support::Expected<void, std::string> MadeFolder::remove() {
    if (!owned_)
        return support::Unexpected(path_.string() + " is not this process's to remove");
    FileDescriptor parent(::open(path_.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    std::string name = path_.filename().string();
    if (!parent.isOpen())
        return support::Unexpected(systemText("cannot open the folder of " + path_.string()));
    // O_NOFOLLOW: a link put in the folder's place is refused, never followed.
    FileDescriptor folder(
        ::openat(parent.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!folder.isOpen() || ::fstat(folder.get(), &info) != 0)
        return support::Unexpected(systemText("left " + path_.string()));
    if (info.st_dev != device_ || info.st_ino != inode_)
        return support::Unexpected("left " + path_.string() + ": it is no longer the folder made here");
    struct stat markInfo {};
    if (::fstatat(folder.get(), MarkName, &markInfo, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(markInfo.st_mode))
        return support::Unexpected("left " + path_.string() + ": it no longer holds its mark");
    if (int failed = removeTreeAt(parent.get(), name.c_str())) {
        errno = failed;
        return support::Unexpected(systemText("cannot remove all of " + path_.string()));
    }
    owned_ = false;
    return {};
}

} // namespace device
