// The device's disk: device paths stay inside the root, and reads are bounded. That
// every open is counted is checked where the library opens its files.

#include "TestDevice.h"

#include "device/Device.h"
#include "device/Files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using device::Device;

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
        {"/var/mobile/Library/..", "var/mobile"},
        {"/var/mobile/", "var/mobile"},
    };
    for (const auto& [path, inside] : cases)
        EXPECT_EQ(Device::resolve(path), root / inside) << path;
    for (std::string_view path : {"", "/", "..", "/..", "/var/.."})
        EXPECT_EQ(Device::devicePathOf(Device::resolve(path)), "/") << path;

    EXPECT_EQ(Device::devicePathOf(root / "var/mobile/x"), "/var/mobile/x");
    EXPECT_EQ(Device::devicePathOf(root / "var/../../outside"), std::nullopt);
    EXPECT_EQ(Device::devicePathOf(root.parent_path()), std::nullopt);
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

    // A file larger than one read comes whole, and a bound still holds past that read.
    std::string large(device::FirstReadBytes * 2 + 7, 'y');
    putDeviceFile("/var/mobile/large.txt", large);
    auto whole = device::readFile("/var/mobile/large.txt", large.size());
    ASSERT_TRUE(whole);
    EXPECT_EQ(*whole, large);
    EXPECT_FALSE(device::readFile("/var/mobile/large.txt", large.size() - 1));
    putDeviceFile("/var/mobile/one-read.txt", std::string(device::FirstReadBytes, 'z'));
    auto full = device::readFile("/var/mobile/one-read.txt", 1 << 20);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->size(), device::FirstReadBytes);

    // A FIFO in a file's place does not stall the reader.
    ASSERT_EQ(::mkfifo(Device::resolve("/var/mobile/fifo").c_str(), 0644), 0);
    auto fifo = device::readFile("/var/mobile/fifo", 100);
    ASSERT_TRUE(fifo);
    EXPECT_EQ(*fifo, "");

    putDeviceFile("/etc/device-only.txt", "inside");
    auto climbing = device::readFile("/var/mobile/../../../../etc/device-only.txt", 100);
    ASSERT_TRUE(climbing);
    EXPECT_EQ(*climbing, "inside");
}
