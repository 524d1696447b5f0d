// Share on a disk that refuses writes, or with something odd at the export path, played on
// a kept device: a stale text is never shared, nothing off the app's container is written
// or removed, and the host runs on; a dump lists nothing through a container that is a
// link. Then the --device folder itself: someone's folder or a link to one is refused,
// and the user's device is never removed.

#include "FileBytes.h"
#include "Simulator.h"

#include "device/Device.h"
#include "device/MadeFolder.h"
#include "sim/play/DeviceFolder.h"

#include <functional>

namespace fs = std::filesystem;

namespace {

constexpr const char* WhatsApp = "net.whatsapp.WhatsApp";

struct KeptDevice {
    TemporaryFolder folder;
    fs::path home = folder.path() / device::containerPath(WhatsApp).substr(1);

    // A device a run made before, with the app's container and a note of the user's.
    explicit KeptDevice(bool withLibrary = true) {
        folder.write(sim::DeviceFolder::MarkName, "");
        folder.write("notes.txt", "the user's");
        fs::create_directories(home / "Documents");
        if (withLibrary)
            fs::create_directories(home / "Library");
    }
    fs::path exportFile() const { return home / "Library" / "Lexorna"; }
};

std::string shareFlow(const std::string& faults, const std::string& expectations) {
    return "app: whatsapp\n" + faults + R"(
settings:
  values: {Aw: true, WhatsApp: true, WACustomView: true}
content:
  messages: ["fresh text"]
---
- launch
- doubleTapOn: {id: message-1}
- assertPresented: LexornaViewController
- tapOn: {class: UIButton, text: ""}
)" + expectations +
           "- assertPresented: LexornaViewController\n";
}

struct FaultCase {
    const char* name;
    std::string faults;
    std::string expectations; // steps after Share
    std::function<void(KeptDevice&, const fs::path& outside)> prepare;
    std::function<void(const KeptDevice&, const fs::path& outside)> check;
    bool withLibrary = true;
};

const std::string NoSheet = "- assertNotPresented: UIActivityViewController\n";

void writeStale(KeptDevice& device, const fs::path&) {
    std::ofstream(device.exportFile()) << "stale";
}

} // namespace

TEST(ShareFaults, NoStaleTextIsSharedAndNothingOffTheContainerChanges) {
    const FaultCase cases[] = {
        {"a full disk", "faults: {diskFull: true}",
         NoSheet + "- assertFile: {path: ~/Library/Lexorna, exists: false}\n", writeStale, nullptr},
        {"a read-only Library", "faults: {readOnly: [\"~/Library\"]}",
         NoSheet + "- assertFile: {path: ~/Library/Lexorna, text: stale}\n", writeStale, nullptr},
        {"a folder at the export path", "", NoSheet,
         [](KeptDevice& device, const fs::path&) {
             fs::create_directories(device.exportFile());
             std::ofstream(device.exportFile() / "the app's") << "kept";
         },
         [](const KeptDevice& device, const fs::path&) {
             EXPECT_EQ(contentsOf(device.exportFile() / "the app's"), "kept");
         }},
        {"a link at the export path", "",
         "- assertPresented: UIActivityViewController\n"
         "- assertFile: {path: ~/Library/Lexorna, text: fresh text}\n",
         [](KeptDevice& device, const fs::path& outside) {
             fs::create_symlink(outside / "secret", device.exportFile());
         },
         [](const KeptDevice& device, const fs::path&) {
             EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(device.exportFile())))
                 << "the link is replaced, not written through";
         }},
        {"a Library that links off the device", "", NoSheet,
         [](KeptDevice& device, const fs::path& outside) {
             fs::create_directory_symlink(outside, device.home / "Library");
         },
         nullptr, false},
        {"no Library", "", NoSheet + "- assertFile: {path: ~/Library, exists: false}\n", nullptr, nullptr,
         false},
    };
    for (const auto& fault : cases) {
        SCOPED_TRACE(fault.name);
        KeptDevice device(fault.withLibrary);
        TemporaryFolder outside;
        outside.write("secret", "outside");
        if (fault.prepare)
            fault.prepare(device, outside.path());
        auto outcome = Simulator().play(shareFlow(fault.faults, fault.expectations),
                                        "--device " + device.folder.path().string());
        EXPECT_EQ(outcome.status, 0) << outcome.report.dump(1);
        if (fault.check)
            fault.check(device, outside.path());
        EXPECT_EQ(outside.read("secret"), "outside");
        EXPECT_EQ(std::distance(fs::directory_iterator(outside.path()), fs::directory_iterator()), 2)
            << "the secret and the folder's mark, nothing written beside them";
        EXPECT_EQ(device.folder.read("notes.txt"), "the user's");
    }
}

// A container that is a link leads off the device: nothing is written through it, and a
// dump lists nothing through it either.
TEST(ShareFaults, ADumpListsNothingThroughAContainerThatLinksOffTheDevice) {
    TemporaryFolder device;
    device.write(sim::DeviceFolder::MarkName, "");
    fs::path home = device.path() / device::containerPath(WhatsApp).substr(1);
    fs::create_directories(home.parent_path());
    TemporaryFolder outside;
    fs::create_directories(outside.path() / "Library");
    outside.write("Library/Lexorna", "outside");
    fs::create_directory_symlink(outside.path(), home);
    auto outcome =
        Simulator().play(shareFlow("", NoSheet + "- dump: files\n"), "--device " + device.path().string());
    EXPECT_EQ(outcome.status, 0) << outcome.report.dump(1);
    EXPECT_EQ(outcome.snapshot("files")["files"], Json::object());
    EXPECT_EQ(outside.read("Library/Lexorna"), "outside");
}

TEST(DeviceFolder, SomeonesFolderIsRefusedAndTheUsersDeviceIsNeverRemoved) {
    auto refused = [](const fs::path& folder) {
        auto opened = sim::DeviceFolder::open(folder, true);
        return opened ? std::string() : opened.error();
    };
    EXPECT_NE(refused("/"), "");
    TemporaryFolder someones;
    someones.write("report.txt", "someone's");
    EXPECT_NE(refused(someones.path()), "");
    EXPECT_FALSE(fs::exists(someones.path() / sim::DeviceFolder::MarkName)) << "nothing written into it";
    TemporaryFolder empty;
    fs::create_directory(empty.path() / "nothing");
    fs::create_directory_symlink(empty.path() / "nothing", someones.path() / "link");
    // A trailing "/" or "/." names the same link, which the system would follow.
    for (std::string link : {"link", "link/", "link/./"})
        EXPECT_NE(refused(someones.path() / link), "") << link << ": a link is not followed to a device";
    EXPECT_TRUE(fs::is_empty(empty.path() / "nothing")) << "nothing made where the link points";

    fs::path named = empty.path() / "device";
    EXPECT_EQ(refused(named), "");
    {
        auto device = sim::DeviceFolder::open(named, false);
        ASSERT_TRUE(device);
        std::ofstream(named / "notes.txt") << "the user's";
    }
    EXPECT_EQ(contentsOf(named / "notes.txt"), "the user's") << "a named device stays, whatever --keep says";
    EXPECT_EQ(refused(named), "") << "a device made here before is taken again";
    fs::create_directory_symlink(named, someones.path() / "device-link");
    EXPECT_FALSE(sim::DeviceFolder::openExisting(someones.path() / "device-link/"))
        << "nor is a link followed to a device made before";
}
