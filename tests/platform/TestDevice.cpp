#include "TestDevice.h"

#include "ChildProcess.h"
#include "FileBytes.h"
#include "device/Device.h"

#include <gtest/gtest.h>

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
    putFile(device::Device::resolve(devicePath), bytes);
}
