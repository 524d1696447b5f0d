#include "TestDevice.h"

#include "device/Device.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

class DeviceRootEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        std::string folder = (std::filesystem::temp_directory_path() / "lexorna-platform-XXXXXX").string();
        ASSERT_NE(::mkdtemp(folder.data()), nullptr);
        root_ = folder;
        device::Device::setRoot(root_);
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }

private:
    std::filesystem::path root_;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new DeviceRootEnvironment);

} // namespace

const std::filesystem::path& testDeviceRoot() {
    return device::Device::root();
}

void putDeviceFile(std::string_view devicePath, std::string_view bytes) {
    auto path = device::Device::resolve(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
