// The file manager on the device's disk: atomic replacement (readers never see half a
// file, links are replaced and not followed, failures leave nothing behind) and removal.

#include "ChildProcess.h"
#include "TestDevice.h"

#include "device/Device.h"
#include "device/Files.h"
#include "foundation/NSData.h"
#include "foundation/NSFileManager.h"
#include "foundation/NSString.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

using device::Device;
using objc::send;

namespace {

std::string contentsOf(std::string_view devicePath) {
    std::ifstream in(Device::resolve(devicePath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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
    EXPECT_EQ(contentsOf("/var/mobile/create/Lexorna"), "first text");
    EXPECT_TRUE(create("/var/mobile/create/Lexorna", NSData::make("abc")));
    EXPECT_EQ(contentsOf("/var/mobile/create/Lexorna"), "abc") << "no trace of the earlier text";
    EXPECT_EQ(namesIn("/var/mobile/create"), std::vector<std::string>{"Lexorna"}) << "no temporary file left";
    struct stat info {};
    ASSERT_EQ(::stat(Device::resolve("/var/mobile/create/Lexorna").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    EXPECT_TRUE(create("/var/mobile/create/Lexorna", nullptr)) << "nil contents make an empty file";
    EXPECT_TRUE(std::filesystem::is_regular_file(Device::resolve("/var/mobile/create/Lexorna")));
    EXPECT_EQ(contentsOf("/var/mobile/create/Lexorna"), "");
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

TEST(NSFileManager, ALinkAtThePathIsReplacedAndItsTargetUntouched) {
    objc::AutoreleasePool pool;
    putDeviceFile("/var/mobile/link/target", "keep me");
    std::filesystem::create_symlink(Device::resolve("/var/mobile/link/target"),
                                    Device::resolve("/var/mobile/link/Lexorna"));
    EXPECT_TRUE(create("/var/mobile/link/Lexorna", NSData::make("new")));
    EXPECT_FALSE(std::filesystem::is_symlink(Device::resolve("/var/mobile/link/Lexorna")));
    EXPECT_EQ(contentsOf("/var/mobile/link/Lexorna"), "new");
    EXPECT_EQ(contentsOf("/var/mobile/link/target"), "keep me");
}

TEST(NSFileManager, FailureAnswersNoAndLeavesNoTemporaryFile) {
    objc::AutoreleasePool pool;
    EXPECT_FALSE(create("/var/mobile/no/such/folder/Lexorna", NSData::make("x")));
    EXPECT_FALSE(std::filesystem::exists(Device::resolve("/var/mobile/no")));

    // A folder at the path: the temporary file is written, then the rename fails.
    std::filesystem::create_directories(Device::resolve("/var/mobile/taken/Lexorna/inside"));
    EXPECT_FALSE(create("/var/mobile/taken/Lexorna", NSData::make("x")));
    EXPECT_EQ(namesIn("/var/mobile/taken"), std::vector<std::string>{"Lexorna"});

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
        EXPECT_EQ(contentsOf("/var/mobile/limited/Lexorna"), std::string(500, 'y'));
    });
}

TEST(NSFileManager, UnwritableFolderAnswersNo) {
    objc::AutoreleasePool pool;
    auto folder = Device::resolve("/var/mobile/readonly");
    std::filesystem::create_directories(folder);
    // The unprivileged user must reach the folder; root ignores permissions, so the
    // write runs in a child process that gives up root first.
    for (auto path = folder; path != testDeviceRoot().parent_path(); path = path.parent_path())
        ::chmod(path.c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    auto outcome = test_support::runInChild([]() -> std::string {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return "could not give up root";
        bool written = NSFileManager::defaultManager()->createFileAtPath("/var/mobile/readonly/Lexorna", "x");
        return written ? "written" : "refused";
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(outcome, "refused");
    EXPECT_TRUE(namesIn("/var/mobile/readonly").empty());
}

TEST(NSFileManager, RemoveTakesFilesLinksAndFoldersButNeverTheRoot) {
    objc::AutoreleasePool pool;
    auto remove = [](std::string_view path) {
        return send<bool>(NSFileManager::defaultManager(), "removeItemAtPath:error:", NSString::make(path),
                          static_cast<id*>(nullptr));
    };
    putDeviceFile("/var/mobile/remove/file", "x");
    putDeviceFile("/var/mobile/remove/folder/deep/file", "x");
    putDeviceFile("/var/mobile/remove/target", "keep");
    std::filesystem::create_symlink(Device::resolve("/var/mobile/remove/target"),
                                    Device::resolve("/var/mobile/remove/link"));

    EXPECT_TRUE(remove("/var/mobile/remove/file"));
    EXPECT_FALSE(remove("/var/mobile/remove/file")) << "nothing left to remove";
    EXPECT_TRUE(remove("/var/mobile/remove/folder"));
    EXPECT_TRUE(remove("/var/mobile/remove/link"));
    EXPECT_EQ(namesIn("/var/mobile/remove"), std::vector<std::string>{"target"});

    for (std::string_view root : {"/", "", "/var/..", "/../.."})
        EXPECT_FALSE(remove(root)) << root;
    EXPECT_TRUE(std::filesystem::exists(Device::resolve("/var/mobile/remove/target")));
}
