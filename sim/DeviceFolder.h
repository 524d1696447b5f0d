#pragma once

#include "device/Expected.h"

#include <filesystem>
#include <optional>
#include <string>

namespace sim {

// The host folder that holds a simulated device's disk for one run: the folder the user
// named (made when missing, always kept, so settings, app containers and export files
// carry over to the next run), or a fresh temporary one that goes away with the run
// unless asked to stay.
class DeviceFolder {
public:
    static device::Expected<DeviceFolder, std::string> open(const std::optional<std::filesystem::path>& named,
                                                            bool keep);

    DeviceFolder(DeviceFolder&& other) noexcept;
    DeviceFolder& operator=(DeviceFolder&&) = delete;
    DeviceFolder(const DeviceFolder&) = delete;
    ~DeviceFolder();

    const std::filesystem::path& path() const { return path_; }
    // A temporary folder that stays after the run: worth telling the user where it is.
    bool keptTemporary() const { return temporary_ && !remove_; }

private:
    DeviceFolder(std::filesystem::path path, bool temporary, bool remove)
        : path_(std::move(path)), temporary_(temporary), remove_(remove) {}

    std::filesystem::path path_;
    bool temporary_ = false;
    bool remove_ = false;
};

} // namespace sim
