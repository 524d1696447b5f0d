#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace device {

// The simulated device's disk. Absolute device paths ("/var/mobile/...", "/Library/...")
// resolve under a root folder on the host machine. The root is the simulator's setting;
// nothing the apps or the library do can change it.
class Device {
public:
    static void setRoot(std::filesystem::path root);
    static const std::filesystem::path& root();

    // The host path of a device path. A relative path, or one that climbs out of the
    // root with "..", resolves inside the root all the same.
    static std::filesystem::path resolve(std::string_view devicePath);
    // The same as text, into a string the caller keeps, so that a caller who only hands
    // the path to the system can reuse one buffer.
    static void resolveInto(std::string& out, std::string_view devicePath);
    // The device path of a host path under the root, or nothing when it lies outside.
    static std::optional<std::string> devicePathOf(const std::filesystem::path& hostPath);
};

// Where each app keeps its data: one container per bundle identifier, made at the app's
// first launch and kept across launches, as on a device.
std::string containerPath(const std::string& bundleIdentifier);

inline constexpr const char* ContainersFolder = "/var/mobile/Containers/Data/Application";

} // namespace device
