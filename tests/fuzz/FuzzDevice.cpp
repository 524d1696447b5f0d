#include "FuzzDevice.h"

#include "sim/DeviceFolder.h"
#include "sim/DevicePaths.h"

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
        for (const char* path : {sim::SettingsPath, sim::FilterListPath})
            std::filesystem::create_directories(device::Device::resolve(path).parent_path());
        return std::move(*made);
    }();
    return folder;
}

} // namespace

void writeFuzzDeviceFile(const char* devicePath, std::string_view bytes) {
    fuzzDevice();
    std::ofstream file(device::Device::resolve(devicePath), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
