#include "sim/report/OutputFile.h"

#include "device/FileDescriptor.h"
#include "device/Files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace sim {

support::Expected<void, std::string> writeOutputFile(const std::filesystem::path& file,
                                                     std::string_view bytes) {
    auto absolute = std::filesystem::absolute(file);
    device::FileDescriptor folder(::open(absolute.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen())
        return support::Unexpected("cannot write " + file.string() + ": " + std::strerror(errno));
    auto written = device::replaceFileIn(folder.get(), absolute.filename().string(), bytes,
                                         device::Durability::Unsynced);
    if (!written)
        return support::Unexpected("cannot write " + file.string() + ": " + written.error().reason);
    return {};
}

} // namespace sim
