#include "TestDevice.h"

#include "ChildProcess.h"
#include "device/Device.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace {

class DeviceRootEnvironment : public ::testing::Environment {
public:
    void SetUp() override { device_.emplace("lexorna-platform"); }
    void TearDown() override { device_.reset(); }

private:
    std::optional<test_support::TemporaryDevice> device_;
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
