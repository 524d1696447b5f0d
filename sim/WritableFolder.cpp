#include "WritableFolder.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace sim {

device::Expected<void, std::string> makeWritableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return device::Unexpected(error.message());
    if (!std::filesystem::is_directory(folder))
        return device::Unexpected(std::string("not a folder"));
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return device::Unexpected("it cannot be written (" + std::string(std::strerror(errno)) + ")");
    return {};
}

} // namespace sim
