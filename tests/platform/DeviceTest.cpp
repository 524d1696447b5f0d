// The device's disk: device paths stay inside the root, and reads are bounded. That
// every open is counted is checked where the library opens its files.

#include "ChildProcess.h"
#include "FileBytes.h"
#include "TemporaryFolder.h"
#include "TestDevice.h"

#include "device/Device.h"
#include "device/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using device::Device;

TEST(Device, DevicePathsResolveUnderTheRootAndDotDotNeverClimbsOut) {
    const auto& root = testDeviceRoot();
    std::pair<std::string_view, std::filesystem::path> cases[] = {
        {"/var/mobile/Library/Preferences/a.plist", "var/mobile/Library/Preferences/a.plist"},
        {"var/mobile", "var/mobile"}, // a relative path is a device path too
        {"/var//mobile/./Library", "var/mobile/Library"},
        {"/../../../etc/passwd", "etc/passwd"},
        {"/var/mobile/../../../../tmp/x", "tmp/x"},
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

// A link stored on the device may point anywhere on the machine: no device path goes
// through one, whether the kernel resolves the path at once or folder by folder.
TEST(DeviceFiles, NoReadWriteOrRemovalGoesThroughALink) {
    TemporaryFolder outside("lexorna-outside");
    outside.write("secret", "outside");
    putDeviceFile("/var/mobile/links/inside", "inside");
    auto at = [](const char* devicePath) { return Device::resolve(devicePath); };
    std::filesystem::create_directory_symlink(outside.path(), at("/var/mobile/links/folder"));
    std::filesystem::create_symlink(outside.path() / "secret", at("/var/mobile/links/file"));
    std::filesystem::create_symlink(at("/var/mobile/links/inside"), at("/var/mobile/links/near"));

    for (auto open : {&Device::openBeneath, &Device::openBeneathByWalking}) {
        int fd = open("/var/mobile/links/inside", O_RDONLY, 0);
        EXPECT_GE(fd, 0);
        ::close(fd);
        for (const char* path :
             {"/var/mobile/links/folder/secret", "/var/mobile/links/file", "/var/mobile/links/near"}) {
            errno = 0;
            EXPECT_EQ(open(path, O_RDONLY, 0), -1) << path;
            EXPECT_EQ(errno, ELOOP) << path;
        }
    }
    EXPECT_FALSE(device::readFile("/var/mobile/links/folder/secret", 100));
    EXPECT_FALSE(device::writeFileAtomically("/var/mobile/links/folder/new", "x"));
    EXPECT_FALSE(device::makeFolders("/var/mobile/links/folder/sub"));
    EXPECT_FALSE(device::removeItem("/var/mobile/links/folder/secret"));
    EXPECT_EQ(device::entryKind("/var/mobile/links/folder").value(), device::EntryKind::Link);
    EXPECT_EQ(device::entryKind("/var/mobile/links/folder/secret").error().code, ELOOP);

    // A removal takes the links themselves and leaves what they point to.
    EXPECT_TRUE(device::removeItem("/var/mobile/links"));
    EXPECT_EQ(device::entryKind("/var/mobile/links").value(), device::EntryKind::Missing);
    EXPECT_EQ(contentsOf(outside.path() / "secret"), "outside");
    EXPECT_FALSE(std::filesystem::exists(outside.path() / "new"));
    EXPECT_FALSE(std::filesystem::exists(outside.path() / "sub"));
}

TEST(DeviceFiles, FaultsRefuseWritesAsAFullOrReadOnlyDiskWould) {
    test_support::expectPassesInChild([] {
        putDeviceFile("/var/mobile/faults/locked/old", "old");
        putDeviceFile("/var/mobile/faults/open/old", "old");
        Device::setFaults({.diskFull = false, .readOnly = {"/var/mobile/faults/locked"}});
        EXPECT_EQ(device::writeFileAtomically("/var/mobile/faults/locked/new", "x").error().code, EROFS);
        EXPECT_EQ(device::removeItem("/var/mobile/faults/locked/old").error().code, EROFS);
        EXPECT_EQ(device::removeItem("/var/mobile/faults/locked").error().code, EROFS)
            << "its entries would go";
        EXPECT_EQ(device::makeFolders("/var/mobile/faults/locked/sub").error().code, EROFS);
        EXPECT_TRUE(device::writeFileAtomically("/var/mobile/faults/open/new", "x"));
        EXPECT_TRUE(device::writeFileAtomically("/var/mobile/faults/locked-not/new", "x").error().code !=
                    EROFS)
            << "a folder of a longer name is not inside";

        Device::setFaults({.diskFull = true, .readOnly = {}});
        EXPECT_EQ(device::writeFileAtomically("/var/mobile/faults/open/new", "y").error().code, ENOSPC);
        EXPECT_EQ(device::makeFolders("/var/mobile/faults/open/sub").error().code, ENOSPC);
        EXPECT_TRUE(device::removeItem("/var/mobile/faults/open/old")) << "a removal frees space";
        EXPECT_EQ(*device::readFile("/var/mobile/faults/open/new", 10), "x");
        EXPECT_EQ(*device::readFile("/var/mobile/faults/locked/old", 10), "old");
    });
}
