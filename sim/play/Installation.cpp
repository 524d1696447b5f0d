#include "sim/play/Installation.h"

namespace sim {

Installation Installation::besideSimulator() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    std::filesystem::path prefix = executable.parent_path().parent_path();

    Installation installation;
    installation.library = prefix / "lib" / "Lexorna.dylib";
    for (const auto& candidate :
         {prefix / "share" / "Lexorna.bundle",
          std::filesystem::path(LEXORNA_SOURCE_DIR) / "tweak" / "resources" / "Lexorna.bundle"}) {
        if (std::filesystem::is_directory(candidate, error)) {
            installation.resources = candidate;
            break;
        }
    }
    return installation;
}

} // namespace sim
