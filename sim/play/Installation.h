#pragma once

#include <filesystem>
#include <optional>

namespace sim {

// What the simulator installs on a device, found relative to itself as a build lays it
// out: the library at ../lib/Lexorna.dylib beside the executable's folder, and its
// resources at ../share/Lexorna.bundle, else in the source tree it was built from.
struct Installation {
    std::filesystem::path library;
    std::optional<std::filesystem::path> resources; // nothing when there are none yet

    static Installation besideSimulator();
};

} // namespace sim
