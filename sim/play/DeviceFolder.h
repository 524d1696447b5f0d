#pragma once

#include "device/MadeFolder.h"
#include "support/Expected.h"

#include <filesystem>
#include <optional>
#include <string>

namespace sim {

// The host folder that holds a simulated device's disk for one run: the folder the user
// named (made when missing, never removed, so settings, app containers and export files
// carry over to the next run), or a fresh temporary one that goes away with the run
// unless asked to stay. A named folder must be new, empty, or a device made here before:
// anything else is someone's folder, which a run would write into and remove from.
class DeviceFolder {
public:
    static support::Expected<DeviceFolder, std::string>
    open(const std::optional<std::filesystem::path>& named, bool keep);
    // A device made before, and nothing else: a reader of a device makes none.
    static support::Expected<DeviceFolder, std::string> openExisting(const std::filesystem::path& named);

    const std::filesystem::path& path() const { return path_; }
    // A temporary folder that stays after the run: worth telling the user where it is.
    bool keptTemporary() const { return keptTemporary_; }

    // Marks a device made by the simulator, in the device's root.
    static constexpr const char* MarkName = ".lexorna-device";

private:
    DeviceFolder(std::filesystem::path path, std::optional<device::MadeFolder> temporary, bool keptTemporary)
        : path_(std::move(path)), temporary_(std::move(temporary)), keptTemporary_(keptTemporary) {}

    std::filesystem::path path_;
    std::optional<device::MadeFolder> temporary_; // removes the temporary device with the run
    bool keptTemporary_ = false;
};

} // namespace sim
