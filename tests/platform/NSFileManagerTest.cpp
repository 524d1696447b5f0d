// The file manager on the device's disk: atomic replacement (readers never see half a
// file, failures leave nothing behind) and removal. Links, folders at the path and disks
// that refuse writes are the device's tests and the Share fault flows.

#include "ChildProcess.h"
#include "FileBytes.h"
#include "TestDevice.h"

#include "device/Device.h"
#include "device/Files.h"
#include "foundation/NSData.h"
#include "foundation/NSFileManager.h"
#include "foundation/NSString.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

using device::Device;
using objc::send;

namespace {

std::string contentsAt(std::string_view devicePath) {
    return contentsOf(Device::resolve(devicePath));
}

std::vector<std::string> namesIn(std::string_view deviceFolder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Device::resolve(deviceFolder)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool create(std::string_view devicePath, id contents) {
    return send<bool>(NSFileManager::defaultManager(),
                      "createFileAtPath:contents:attributes:", NSString::make(devicePath), contents, nullptr);
}

} // namespace

TEST(NSFileManager, CreateWritesTheBytesAndReplacesAnEarlierFile) {
    objc::AutoreleasePool pool;
    std::filesystem::create_directories(Device::resolve("/var/mobile/create"));
    EXPECT_TRUE(create("/var/mobile/create/Lexorna", NSData::make("first text")));
    EXPECT_EQ(contentsAt("/var/mobile/create/Lexorna"), "first text");
    EXPECT_TRUE(create("/var/mobile/create/Lexorna", NSData::make("abc")));
    EXPECT_EQ(contentsAt("/var/mobile/create/Lexorna"), "abc") << "no trace of the earlier text";
    EXPECT_EQ(namesIn("/var/mobile/create"), std::vector<std::string>{"Lexorna"}) << "no temporary file left";
    struct stat info {};
    ASSERT_EQ(::stat(Device::resolve("/var/mobile/create/Lexorna").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    EXPECT_TRUE(create("/var/mobile/create/Lexorna", nullptr)) << "nil contents make an empty file";
    EXPECT_TRUE(std::filesystem::is_regular_file(Device::resolve("/var/mobile/create/Lexorna")));
    EXPECT_EQ(contentsAt("/var/mobile/create/Lexorna"), "");
}

TEST(NSFileManager, ReadersSeeTheOldFileOrTheNewNeverAPart) {
    objc::AutoreleasePool pool;
    std::filesystem::create_directories(Device::resolve("/var/mobile/atomic"));
    const std::string first(256 * 1024, 'a');
    const std::string second(128 * 1024, 'b');
    ASSERT_TRUE(NSFileManager::defaultManager()->createFileAtPath("/var/mobile/atomic/file", first));

    std::atomic<bool> writing = true;
    std::atomic<int> reads = 0;
    std::atomic<int> torn = 0;
    std::thread reader([&] {
        while (writing || reads < 50) {
            auto bytes = device::readFile("/var/mobile/atomic/file", 1 << 20);
            if (!bytes || (*bytes != first && *bytes != second))
                ++torn;
            ++reads;
        }
    });
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(NSFileManager::defaultManager()->createFileAtPath("/var/mobile/atomic/file",
                                                                      i % 2 ? first : second));
    writing = false;
    reader.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_EQ(namesIn("/var/mobile/atomic"), std::vector<std::string>{"file"});
}

TEST(NSFileManager, FailureAnswersNoAndLeavesNoTemporaryFile) {
    objc::AutoreleasePool pool;
    EXPECT_FALSE(create("/var/mobile/no/such/folder/Lexorna", NSData::make("x")));
    EXPECT_FALSE(std::filesystem::exists(Device::resolve("/var/mobile/no")));

    EXPECT_FALSE(send<bool>(NSFileManager::defaultManager(), "createFileAtPath:contents:attributes:", nullptr,
                            NSData::make("x"), nullptr));
}

TEST(NSFileManager, AFileSizeLimitFailsTheWriteWithoutEndingTheProcess) {
    test_support::expectPassesInChild([] {
        objc::AutoreleasePool pool;
        std::filesystem::create_directories(Device::resolve("/var/mobile/limited"));
        rlimit limit{1000, 1000};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        EXPECT_FALSE(create("/var/mobile/limited/Lexorna", NSData::make(std::string(5000, 'x'))));
        EXPECT_TRUE(namesIn("/var/mobile/limited").empty()) << "no temporary file is left";
        EXPECT_TRUE(create("/var/mobile/limited/Lexorna", NSData::make(std::string(500, 'y'))));
        EXPECT_EQ(contentsAt("/var/mobile/limited/Lexorna"), std::string(500, 'y'));
    });
}

TEST(NSFileManager, RemoveTakesFilesAndFoldersButNeverTheRoot) {
    objc::AutoreleasePool pool;
    auto remove = [](std::string_view path) {
        return send<bool>(NSFileManager::defaultManager(), "removeItemAtPath:error:", NSString::make(path),
                          static_cast<id*>(nullptr));
    };
    putDeviceFile("/var/mobile/remove/file", "x");
    putDeviceFile("/var/mobile/remove/folder/deep/file", "x");
    putDeviceFile("/var/mobile/remove/target", "keep");

    EXPECT_TRUE(remove("/var/mobile/remove/file"));
    EXPECT_FALSE(remove("/var/mobile/remove/file")) << "nothing left to remove";
    EXPECT_TRUE(remove("/var/mobile/remove/folder"));
    EXPECT_EQ(namesIn("/var/mobile/remove"), std::vector<std::string>{"target"});

    for (std::string_view root : {"/", "", "/var/..", "/../.."})
        EXPECT_FALSE(remove(root)) << root;
    EXPECT_TRUE(std::filesystem::exists(Device::resolve("/var/mobile/remove/target")));
}
