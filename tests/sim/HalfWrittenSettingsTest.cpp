// The settings file is the settings pane's, written by a process of its own, so a host may
// read it truncated, between a write and its rename, or gone. The hooked host runs on,
// and every layout pass still attaches its recogniser: the inline one when the read
// failed.

#include "ChildProcess.h"
#include "FileBytes.h"

#include "apps/AppLaunch.h"
#include "apps/HostApps.h"
#include "apps/ViewLookup.h"
#include "device/Device.h"
#include "foundation/NSBundle.h"
#include "sim/play/DeviceFolder.h"
#include "sim/play/DevicePaths.h"
#include "sim/play/DevicePreparation.h"
#include "sim/play/Installation.h"
#include "substrate/Loader.h"
#include "uikit/UIGestureRecognizer.h"
#include "uikit/UIWindow.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string settingsWithPanel(bool panel) {
    return std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>Aw</key><true/><key>WhatsApp</key><true/>
<key>WACustomView</key>)") +
           (panel ? "<true/>" : "<false/>") + "</dict></plist>\n";
}

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0)
            return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Rewrites the file for ever in each of the ways a reader can catch it: in place, a
// half at a time; a temporary file renamed over it; removed; cut short for good.
[[noreturn]] void rewriteForEver(const std::string& file) {
    const std::string panel = settingsWithPanel(true);
    const std::string temporary = file + ".new";
    for (unsigned round = 0;; ++round) {
        const std::string& bytes = round % 2 ? panel : settingsWithPanel(false);
        switch (round % 4) {
        case 0: {
            int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            writeAll(fd, std::string_view(bytes).substr(0, bytes.size() / 2));
            writeAll(fd, std::string_view(bytes).substr(bytes.size() / 2));
            ::close(fd);
            break;
        }
        case 1: {
            int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            writeAll(fd, bytes);
            ::close(fd);
            std::rename(temporary.c_str(), file.c_str());
            break;
        }
        case 2:
            ::unlink(file.c_str());
            break;
        case 3: {
            int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            writeAll(fd, std::string_view(bytes).substr(0, bytes.size() / 3));
            ::close(fd);
            break;
        }
        }
    }
}

void install(std::string_view devicePath, const std::string& bytes) {
    auto written = sim::replaceDeviceFile(devicePath, bytes);
    ASSERT_TRUE(written) << written.error();
}

} // namespace

TEST(HalfWrittenSettings, EveryTriggerHookAttachesItsRecogniserWhileAnotherProcessRewritesTheFile) {
    test_support::expectPassesInChild([] {
        auto device = sim::DeviceFolder::open(std::nullopt, false);
        ASSERT_TRUE(device) << device.error();
        device::Device::setRoot(device->path());
        std::string library = contentsOf(sim::Installation::besideSimulator().library);
        ASSERT_FALSE(library.empty());
        install(sim::LibraryPath, library);
        install(sim::FilterListPath, R"(<plist version="1.0"><dict><key>Filter</key><dict><key>Bundles</key>
<array><string>net.whatsapp.WhatsApp</string></array></dict></dict></plist>)");
        install(sim::SettingsPath, settingsWithPanel(true));

        const apps::AppDescription app = apps::whatsAppDescription();
        NSBundle::setMainBundleIdentifier(app.bundleIdentifier);
        app.registerClasses();
        ASSERT_FALSE(substrate::loadInjectedLibraries().loaded.empty());
        objc::Ref<UIWindow> window = apps::startApp(app, {{"messages", {{{"text", "How are you?"}}}}});
        UIView* message = apps::findView(window.get(), "message-1");
        ASSERT_NE(message, nullptr);

        const std::string file = device::Device::resolve(sim::SettingsPath).string();
        pid_t writer = ::fork();
        if (writer == 0)
            rewriteForEver(file);
        ASSERT_GT(writer, 0);

        constexpr int Passes = 100000;
        int missing = 0, panel = 0, inlineOverlay = 0;
        const SEL panelAction = sel_registerName("WAWordCopyCustom");
        for (int pass = 0; pass < Passes; ++pass) {
            {
                objc::AutoreleasePool pool;
                objc::send(message, "layoutSubviews");
            }
            const auto& recognizers = message->gestureRecognizers();
            if (recognizers.empty()) {
                ++missing;
                continue;
            }
            (recognizers.back()->action() == panelAction ? panel : inlineOverlay) += 1;
            while (!message->gestureRecognizers().empty())
                message->removeGestureRecognizer(message->gestureRecognizers().back().get());
        }
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        EXPECT_EQ(missing, 0);
        EXPECT_EQ(panel + inlineOverlay, Passes);
        // Both kinds were read: the writer did reach the reads.
        EXPECT_GT(panel, 0);
        EXPECT_GT(inlineOverlay, 0);
    });
}
