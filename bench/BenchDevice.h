#pragma once

#include "device/Device.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// A device of the benchmark's own in a fresh temporary folder, the process's device
// from its making; the folder it made is removed with it.
class BenchDevice {
public:
    BenchDevice() {
        std::string folder = (std::filesystem::temp_directory_path() / "lexorna-bench-XXXXXX").string();
        if (!::mkdtemp(folder.data()))
            std::abort();
        root_ = folder;
        device::Device::setRoot(root_);
    }
    ~BenchDevice() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    BenchDevice(const BenchDevice&) = delete;
    BenchDevice& operator=(const BenchDevice&) = delete;

    static void put(std::string_view devicePath, std::string_view bytes) {
        auto path = device::Device::resolve(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    std::filesystem::path root_;
};
