// The text panel in a process of its own: what Share writes and offers when things go
// wrong (no Share picture, a failed write), and whose text it exports.

#include "LibraryProcess.h"

#include "device/Device.h"
#include "foundation/NSString.h"
#include "foundation/NSURL.h"
#include "objc/Message.h"
#include "uikit/LayoutPass.h"
#include "uikit/TouchDelivery.h"
#include "uikit/UIActivityViewController.h"
#include "uikit/UIApplication.h"
#include "uikit/UIImageView.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

using objc::send;

namespace {

constexpr const char* ExportPath = "/var/mobile/Library/Lexorna";

// A key window with a plain root and the app's Library folder, as a container has.
UIViewController* prepareApp() {
    std::filesystem::create_directories(device::Device::resolve("/var/mobile/Library"));
    UIViewController* root = objc::cast<UIViewController>(plainController());
    makeKeyWindowWithRoot(root);
    return root;
}

UIViewController* presentPanel(UIViewController* on, id text) {
    id panel = send<id>(send<id>(objc_getClass("LexornaViewController"), "alloc"), "init");
    send(panel, "setText:", text);
    on->present(objc::cast<UIViewController>(panel), true, {});
    layoutIfNeeded(UIApplication::sharedApplication()->keyWindow());
    return objc::cast<UIViewController>(panel);
}

template <class T> T* find(UIView* view) {
    if (auto* match = objc::dynCast<T>(view))
        return match;
    for (const auto& subview : view->subviews())
        if (T* match = find<T>(subview.get()))
            return match;
    return nullptr;
}

std::string exported() {
    std::ifstream in(device::Device::resolve(ExportPath), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exportExists() {
    return std::filesystem::exists(device::Device::resolve(ExportPath));
}

} // namespace

TEST(TextPanel, WithoutTheSharePictureTheShareAreaStillShares) {
    withLibrary([](void*) {
        UIViewController* panel = presentPanel(prepareApp(), NSString::make("abc"));
        auto* picture = find<UIImageView>(panel->view());
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->image(), nullptr);
        EXPECT_EQ(picture->frame().size, (CGSize{31, 31}));

        TouchRecord record;
        deliverGesture(picture, TouchGesture::tap(), record);
        EXPECT_EQ(exported(), "abc");
        auto* sheet = objc::dynCast<UIActivityViewController>(panel->presentedViewController());
        ASSERT_NE(sheet, nullptr) << "the sheet opens over the panel";
        ASSERT_EQ(sheet->activityItems().size(), 1u);
        auto* url = objc::dynCast<NSURL>(sheet->activityItems()[0].get());
        ASSERT_NE(url, nullptr) << "the file is shared, not the string";
        EXPECT_EQ(url->path(), ExportPath);
    });
}

TEST(TextPanel, AMutableTextIsExportedWithItsContentsAtTheTimeOfShare) {
    withLibrary([](void*) {
        NSMutableString* text = NSMutableString::make("before");
        UIViewController* panel = presentPanel(prepareApp(), text);
        EXPECT_EQ(utf8Of(find<UITextView>(panel->view())->text()), "\nbefore")
            << "the view keeps what it read";
        text->setString("after");
        send(panel, "Share");
        EXPECT_EQ(exported(), "after");
    });
}

TEST(TextPanel, ANilTextShowsTheLineBreakAloneAndSharesAnEmptyFile) {
    withLibrary([](void*) {
        UIViewController* panel = presentPanel(prepareApp(), nullptr);
        EXPECT_EQ(utf8Of(find<UITextView>(panel->view())->text()), "\n");
        send(panel, "Share");
        EXPECT_TRUE(exportExists());
        EXPECT_EQ(exported(), "");
        EXPECT_NE(panel->presentedViewController(), nullptr);
    });
}

// A write that fails must not leave an earlier message's text to be shared.
TEST(TextPanel, AFailedWriteRemovesTheEarlierExportAndOffersNoSheet) {
    withLibrary([](void*) {
        UIViewController* root = prepareApp();
        UIViewController* first = presentPanel(root, NSString::make("short"));
        send(first, "Share");
        ASSERT_EQ(exported(), "short");
        send(first, "Close"); // closes the sheet over the panel
        send(first, "Close"); // closes the panel
        ASSERT_EQ(root->presentedViewController(), nullptr);

        // Files may grow no further than 8 bytes from here on: the next write fails.
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            8, 8
        };
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        UIViewController* second = presentPanel(root, NSString::make("a text longer than eight bytes"));
        send(second, "Share");
        EXPECT_FALSE(exportExists());
        EXPECT_EQ(second->presentedViewController(), nullptr) << "no sheet for a file that is not there";
        EXPECT_EQ(root->presentedViewController(), second) << "the panel stays";
    });
}

TEST(TextPanel, DoneDismissesAnimatedAndLeavesTheExport) {
    withLibrary([](void*) {
        UIViewController* root = prepareApp();
        UIViewController* panel = presentPanel(root, NSString::make("kept"));
        EXPECT_TRUE(panel->presentedAnimated());
        send(panel, "Share");
        send(panel, "Close");
        send(panel, "Close");
        EXPECT_EQ(root->presentedViewController(), nullptr);
        EXPECT_EQ(exported(), "kept");
    });
}
