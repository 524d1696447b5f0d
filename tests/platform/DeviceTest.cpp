// The device's disk: device paths stay inside the root, and reads are bounded and
// counted as an observer of the process would count them.

#include "TestDevice.h"

#include "device/Device.h"
#include "device/Files.h"
#include "device/Instruments.h"

#include <gtest/gtest.h>

using device::Device;

namespace {

int opensOf(const std::string& devicePath) {
    const auto& opens = device::Instruments::shared().fileOpens();
    auto found = opens.find(devicePath);
    return found == opens.end() ? 0 : found->second;
}

} // namespace

TEST(Device, DevicePathsResolveUnderTheRootAndDotDotNeverClimbsOut) {
    const auto& root = testDeviceRoot();
    std::pair<std::string_view, std::filesystem::path> cases[] = {
        {"/var/mobile/Library/Preferences/a.plist", "var/mobile/Library/Preferences/a.plist"},
        {"var/mobile", "var/mobile"}, // a relative path is a device path too
        {"/var//mobile/./Library", "var/mobile/Library"},
        {"/../../../etc/passwd", "etc/passwd"},
        {"../etc", "etc"},
        {"/var/mobile/../../../../tmp/x", "tmp/x"},
        {"/var/a/../b", "var/b"},
    };
    for (const auto& [path, inside] : cases)
        EXPECT_EQ(Device::resolve(path), root / inside) << path;
    for (std::string_view path : {"", "/", "..", "/..", "/var/.."})
        EXPECT_EQ(Device::devicePathOf(Device::resolve(path)), "/") << path;

    EXPECT_EQ(Device::devicePathOf(root / "var/mobile/x"), "/var/mobile/x");
    EXPECT_EQ(Device::devicePathOf(root / "var/../../outside"), std::nullopt);
    EXPECT_EQ(Device::devicePathOf(root.parent_path()), std::nullopt);
}

TEST(DeviceFiles, ReadCountsEveryOpenFoundOrNot) {
    putDeviceFile("/var/mobile/count.txt", "abc");
    int before = opensOf("/var/mobile/count.txt");
    auto bytes = device::readFile("/var/mobile/count.txt", 100);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "abc");
    device::readFile("/var/mobile/count.txt", 100);
    EXPECT_EQ(opensOf("/var/mobile/count.txt"), before + 2);

    int missingBefore = opensOf("/var/mobile/missing.txt");
    EXPECT_FALSE(device::readFile("/var/mobile/missing.txt", 100));
    EXPECT_EQ(opensOf("/var/mobile/missing.txt"), missingBefore + 1);
}

TEST(DeviceFiles, ReadRefusesFilesOverTheBoundAndFoldersAndStaysOnTheDevice) {
    putDeviceFile("/var/mobile/bound.txt", std::string(1000, 'x'));
    auto exact = device::readFile("/var/mobile/bound.txt", 1000);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->size(), 1000u);
    auto over = device::readFile("/var/mobile/bound.txt", 999);
    ASSERT_FALSE(over);
    EXPECT_EQ(over.error().reason, "file too large");

    std::filesystem::create_directories(Device::resolve("/var/mobile/folder"));
    auto folder = device::readFile("/var/mobile/folder", 100);
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.error().reason, "not a regular file");

    putDeviceFile("/etc/device-only.txt", "inside");
    auto climbing = device::readFile("/var/mobile/../../../../etc/device-only.txt", 100);
    ASSERT_TRUE(climbing);
    EXPECT_EQ(*climbing, "inside");
}
