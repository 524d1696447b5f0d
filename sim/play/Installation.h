#pragma once

#include <filesystem>
#include <optional>

namespace sim {

// What the simulator installs on a device, found relative to itself as a build lays it
// out: the library at ../lib/Lexorna.dylib beside the executable's folder, and its
// resources (../share/Lexorna.bundle) and filter list (../share/Lexorna.plist), else in the
// source tree it was built from: the same files the phone's packages install.
struct Installation {
    std::filesystem::path library;
    std::optional<std::filesystem::path> resources;  // nothing when there are none yet
    std::optional<std::filesystem::path> filterList; // likewise

    static Installation besideSimulator();
};

} // namespace sim
