#include "RemoveTree.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace device {

int removeTreeAt(int folder, const char* name) {
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(info.st_mode)) {
        int inside = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (inside < 0)
            return errno;
        DIR* listing = ::fdopendir(inside);
        if (!listing) {
            int error = errno;
            ::close(inside);
            return error;
        }
        // Listed first, then removed: removing while reading may skip entries.
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(listing)) {
            std::string entryName = entry->d_name;
            if (entryName != "." && entryName != "..")
                names.push_back(std::move(entryName));
        }
        int error = 0;
        for (const auto& entryName : names)
            if (int failed = removeTreeAt(::dirfd(listing), entryName.c_str()); failed && !error)
                error = failed;
        ::closedir(listing);
        if (error)
            return error;
        return ::unlinkat(folder, name, AT_REMOVEDIR) == 0 ? 0 : errno;
    }
    return ::unlinkat(folder, name, 0) == 0 ? 0 : errno;
}

} // namespace device
