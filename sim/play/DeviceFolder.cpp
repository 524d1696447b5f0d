#include "sim/play/DeviceFolder.h"
#include "sim/cli/WritableFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

namespace {

support::Expected<void, std::string> mark(const std::filesystem::path& folder) {
    int fd =
        ::open((folder / DeviceFolder::MarkName).c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return support::Unexpected("cannot mark " + folder.string() +
                                   " as a device: " + std::strerror(errno));
    ::close(fd);
    return {};
}

// The folder as the user named it, without a trailing "/" or "/.": the system follows a
// link named so, and the checks must see the link itself. "." and "/" stay as they are.
std::filesystem::path asNamed(std::filesystem::path folder) {
    while (folder.has_relative_path() && !folder.parent_path().empty() &&
           (folder.filename().empty() || folder.filename() == "."))
        folder = folder.parent_path();
    return folder;
}

// Why a folder the user named cannot be a device, or nothing when it can.
std::optional<std::string> refusal(const std::filesystem::path& folder) {
    std::error_code error;
    auto status = std::filesystem::symlink_status(folder, error);
    if (std::filesystem::is_symlink(status))
        return "it is a symbolic link; name the folder itself";
    if (!std::filesystem::exists(status))
        return std::nullopt;
    if (!std::filesystem::is_directory(status))
        return "not a folder";
    if (std::filesystem::equivalent(folder, "/", error))
        return "the machine's own root is no device";
    if (std::filesystem::is_regular_file(
            std::filesystem::symlink_status(folder / DeviceFolder::MarkName, error)))
        return std::nullopt;
    if (!std::filesystem::is_empty(folder, error) || error)
        return "it holds files and is no device made by lexorna-sim; name a new or an empty folder";
    return std::nullopt;
}

} // namespace

support::Expected<DeviceFolder, std::string> DeviceFolder::openExisting(const std::filesystem::path& given) {
    const std::filesystem::path named = asNamed(given);
    std::error_code error;
    if (std::filesystem::is_symlink(named, error) || !std::filesystem::is_directory(named, error) ||
        !std::filesystem::is_regular_file(std::filesystem::symlink_status(named / MarkName, error)))
        return support::Unexpected(given.string() +
                                   " is not a device (lexorna-sim run --device or prefs set makes one)");
    if (auto refused = refusal(named))
        return support::Unexpected("cannot use " + given.string() + " as a device: " + *refused);
    return DeviceFolder(std::filesystem::absolute(named), std::nullopt, false);
}

support::Expected<DeviceFolder, std::string>
DeviceFolder::open(const std::optional<std::filesystem::path>& given, bool keep) {
    if (given) {
        const std::filesystem::path named = asNamed(*given);
        auto fail = [&](const std::string& why) {
            return support::Unexpected("cannot use " + given->string() + " as a device: " + why);
        };
        if (auto refused = refusal(named))
            return fail(*refused);
        if (auto usable = makeWritableFolder(named); !usable)
            return fail(usable.error());
        if (auto marked = mark(named); !marked)
            return support::Unexpected(marked.error());
        return DeviceFolder(std::filesystem::absolute(named), std::nullopt, false);
    }
    auto made = device::MadeFolder::makeTemporary("lexorna-device");
    if (!made)
        return support::Unexpected("cannot make a temporary device: " + made.error());
    if (auto marked = mark(made->path()); !marked)
        return support::Unexpected(marked.error());
    std::filesystem::path path = made->path();
    if (keep)
        made->keep();
    return DeviceFolder(path, std::move(*made), keep);
}

} // namespace sim
