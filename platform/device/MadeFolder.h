#pragma once

#include "support/Expected.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace device {

// A folder of the machine that this process made for itself (a temporary device, a test's
// scratch folder), and the one way anything here removes a folder tree of the machine's:
// a cleanup through an unset path once erased a machine's /etc. The folder is made fresh
// and marked inside; it is removed only while it is still the very folder made (not a
// link put in its place, not another folder of the same name) and still holds its mark,
// and the removal follows no link inside it.
class MadeFolder {
public:
    // A new folder in the machine's temporary folder, named prefix-XXXXXX.
    static support::Expected<MadeFolder, std::string> makeTemporary(std::string_view prefix);

    MadeFolder(MadeFolder&& other) noexcept;
    MadeFolder& operator=(MadeFolder&&) = delete;
    MadeFolder(const MadeFolder&) = delete;
    ~MadeFolder(); // removes the folder, unless kept

    const std::filesystem::path& path() const { return path_; }
    // The folder stays when this object goes.
    void keep() { owned_ = false; }
    // Removes the folder now; says why when it does not (and tries again when it goes).
    support::Expected<void, std::string> remove();

    static constexpr const char* MarkName = ".lexorna-made-here";

private:
    MadeFolder(std::filesystem::path path, dev_t device, ino_t inode)
        : path_(std::move(path)), device_(device), inode_(inode) {}

    std::filesystem::path path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    bool owned_ = true;
};

} // namespace device
