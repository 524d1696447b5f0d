#include "DeviceFolder.h"
#include "WritableFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

device::Expected<DeviceFolder, std::string>
DeviceFolder::open(const std::optional<std::filesystem::path>& named, bool keep) {
    std::error_code error;
    if (named) {
        if (auto usable = makeWritableFolder(*named); !usable)
            return device::Unexpected("cannot use " + named->string() + " as a device: " + usable.error());
        return DeviceFolder(std::filesystem::absolute(*named), false, false);
    }
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        base = "/tmp";
    std::string pattern = (base / "lexorna-device-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return device::Unexpected("cannot make a temporary device: " + std::string(std::strerror(errno)));
    return DeviceFolder(pattern, true, !keep);
}

DeviceFolder::DeviceFolder(DeviceFolder&& other) noexcept
    : path_(std::move(other.path_)), temporary_(other.temporary_),
      remove_(std::exchange(other.remove_, false)) {}

DeviceFolder::~DeviceFolder() {
    if (remove_) {
        std::error_code ignored; // a folder that cannot be removed is left in the temporary folder
        std::filesystem::remove_all(path_, ignored);
    }
}

} // namespace sim
