#include "FuzzDevice.h"

#include "sim/play/DeviceFolder.h"

#include "device/Device.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

sim::DeviceFolder& fuzzDevice() {
    static sim::DeviceFolder folder = [] {
        auto made = sim::DeviceFolder::open(std::nullopt, false);
        if (!made) {
            std::fprintf(stderr, "%s\n", made.error().c_str());
            std::abort();
        }
        device::Device::setRoot(made->path());
        return std::move(*made);
    }();
    return folder;
}

} // namespace

void writeFuzzDeviceFile(const char* devicePath, std::string_view bytes) {
    fuzzDevice();
    // The folder comes from the path the library reads, so the two cannot part.
    std::filesystem::path path = device::Device::resolve(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
