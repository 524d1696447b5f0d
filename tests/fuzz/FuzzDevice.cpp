#include "FuzzDevice.h"
#include "FileBytes.h"

#include "sim/play/DeviceFolder.h"

#include "device/Device.h"

#include <cstdio>
#include <cstdlib>

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
    putFile(device::Device::resolve(devicePath), bytes);
}
