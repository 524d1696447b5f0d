#include "sim/cli/WritableFolder.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace sim {

support::Expected<void, std::string> makeWritableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error))
        return support::Unexpected(std::string("not a folder"));
    std::filesystem::create_directories(folder, error);
    if (error)
        return support::Unexpected(error.message());
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return support::Unexpected("it cannot be written (" + std::string(std::strerror(errno)) + ")");
    return {};
}

} // namespace sim
