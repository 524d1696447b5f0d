#include "sim/play/Installation.h"

namespace sim {

Installation Installation::besideSimulator() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    std::filesystem::path prefix = executable.parent_path().parent_path();

    // The build's copy, else the source tree's.
    std::filesystem::path sources = std::filesystem::path(LEXORNA_SOURCE_DIR) / "tweak" / "resources";
    auto found = [&](const char* name, bool folder) -> std::optional<std::filesystem::path> {
        for (const auto& candidate : {prefix / "share" / name, sources / name})
            if (folder ? std::filesystem::is_directory(candidate, error)
                       : std::filesystem::is_regular_file(candidate, error))
                return candidate;
        return std::nullopt;
    };
    Installation installation;
    installation.library = prefix / "lib" / "Lexorna.dylib";
    installation.resources = found("Lexorna.bundle", true);
    installation.filterList = found("Lexorna.plist", false);
    return installation;
}

} // namespace sim
