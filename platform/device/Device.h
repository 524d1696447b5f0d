#pragma once

#include "DeviceFaults.h"

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

namespace device {

// The simulated device's disk. Absolute device paths ("/var/mobile/...", "/Library/...")
// resolve under a root folder on the host machine. The root is the simulator's setting;
// nothing the apps or the library do can change it.
class Device {
public:
    static void setRoot(std::filesystem::path root);
    static const std::filesystem::path& root();

    // The host path of a device path, for messages and for the simulator's own set-up. A
    // relative path, or one that climbs out of the root with "..", resolves inside the
    // root all the same. Files are opened through openBeneath, not through this path.
    static std::filesystem::path resolve(std::string_view devicePath);
    // The device path made relative to the root and normalised ("var/mobile/x", "" for the
    // root itself), into a string the caller keeps.
    static void relativeInto(std::string& out, std::string_view devicePath);
    // The device path of a host path under the root, or nothing when it lies outside.
    static std::optional<std::string> devicePathOf(const std::filesystem::path& hostPath);

    // Opens a device path as openat(2) opens a path, beneath the root and following no
    // symbolic link on the way: a link stored on the device may point anywhere on the
    // machine. A link among the folders, or at the end unless flags hold O_PATH and
    // O_NOFOLLOW, fails with ELOOP. Answers -1 with errno set when it fails.
    static int openBeneath(std::string_view devicePath, int flags, mode_t mode = 0);
    // The same one folder at a time, for kernels without openat2(2).
    static int openBeneathByWalking(std::string_view devicePath, int flags, mode_t mode = 0);

    static void setFaults(DeviceFaults faults);
    // The error a change of the entries of a device folder meets, or 0: EROFS in a
    // read-only folder, ENOSPC for a new entry or new bytes on a full disk. The folder is
    // given relative and normalised, as relativeInto makes it.
    static int refusedChange(std::string_view relativeFolder, bool adds);
};

// Where each app keeps its data: one container per bundle identifier, made at the app's
// first launch and kept across launches, as on a device.
std::string containerPath(const std::string& bundleIdentifier);

inline constexpr const char* ContainersFolder = "/var/mobile/Containers/Data/Application";

} // namespace device
