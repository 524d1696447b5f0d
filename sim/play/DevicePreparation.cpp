#include "sim/play/DevicePreparation.h"
#include "sim/play/DevicePaths.h"

#include "device/Device.h"
#include "device/Files.h"

#include <fstream>

namespace sim {

using device::Device;
using support::Unexpected;

namespace {

support::Expected<std::string, std::string> hostFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return support::Unexpected("cannot read " + path.string());
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return support::Unexpected("cannot read " + path.string());
    return bytes;
}

// Removes what the package put on the device, without following a link out of it.
support::Expected<void, std::string> removeDeviceItem(std::string_view devicePath) {
    auto kind = device::entryKind(devicePath);
    if (kind && *kind == device::EntryKind::Missing)
        return {};
    auto removed = kind ? device::removeItem(devicePath) : support::Unexpected(kind.error());
    if (!removed)
        return support::Unexpected("cannot remove " + std::string(devicePath) + ": " +
                                   removed.error().reason);
    return {};
}

// Copies a host folder's files to a device folder, replacing what was there.
support::Expected<void, std::string> installFolder(const std::filesystem::path& source,
                                                   std::string_view devicePath) {
    if (auto removed = removeDeviceItem(devicePath); !removed)
        return removed;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(source, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file())
            continue;
        auto bytes = hostFileBytes(it->path());
        if (!bytes)
            return support::Unexpected(bytes.error());
        std::string target =
            std::string(devicePath) + "/" + it->path().lexically_relative(source).generic_string();
        if (auto written = replaceDeviceFile(target, *bytes); !written)
            return written;
    }
    if (error)
        return support::Unexpected("cannot read " + source.string() + ": " + error.message());
    return {};
}

} // namespace

support::Expected<void, std::string> replaceDeviceFile(std::string_view devicePath, const FileBytes& bytes) {
    if (!bytes)
        return removeDeviceItem(devicePath);
    std::string folder(devicePath.substr(0, devicePath.rfind('/') + 1));
    if (auto made = device::makeFolders(folder); !made)
        return support::Unexpected("cannot make the folder of " + std::string(devicePath) + ": " +
                                   made.error().reason);
    auto written = device::writeFileAtomically(devicePath, *bytes);
    if (!written)
        return support::Unexpected("cannot write " + std::string(devicePath) + ": " + written.error().reason);
    return {};
}

support::Expected<void, std::string> prepareDevice(const Flow& flow, const Installation& installation,
                                                   bool keptDevice) {
    if (flow.settingsGiven || !keptDevice)
        if (auto done = replaceDeviceFile(SettingsPath, flow.settings); !done)
            return done;
    if (!flow.install) {
        if (auto done = replaceDeviceFile(FilterListPath, flow.filter); !done)
            return done;
        if (auto done = replaceDeviceFile(LibraryPath, std::nullopt); !done)
            return done;
        return removeDeviceItem(ResourcesPath);
    }
    auto library = hostFileBytes(installation.library);
    if (!library)
        return support::Unexpected("Lexorna is not built: " + library.error());
    if (auto done = replaceDeviceFile(LibraryPath, *library); !done)
        return done;
    // The package's filter list, unless the flow's header gives another (or none).
    FileBytes filter = flow.filter;
    if (!flow.filterGiven) {
        if (!installation.filterList)
            return support::Unexpected(std::string("Lexorna's filter list is missing"));
        auto bytes = hostFileBytes(*installation.filterList);
        if (!bytes)
            return support::Unexpected(bytes.error());
        filter = std::move(*bytes);
    }
    if (auto done = replaceDeviceFile(FilterListPath, filter); !done)
        return done;
    if (installation.resources)
        return installFolder(*installation.resources, ResourcesPath);
    return {};
}

} // namespace sim
