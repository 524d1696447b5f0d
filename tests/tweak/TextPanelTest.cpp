// The text panel in a process of its own: Share without its picture, and whose text it
// exports. Its geometry, a nil text and failed writes are played through the simulator.

#include "FileBytes.h"
#include "KeyWindow.h"
#include "LibraryProcess.h"
#include "PngImage.h"

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

#include <filesystem>

using objc::send;

namespace {

constexpr const char* ExportPath = "/var/mobile/Library/Lexorna";

// A key window with a plain root and the app's Library folder, as a container has.
UIViewController* prepareApp() {
    std::filesystem::create_directories(device::Device::resolve("/var/mobile/Library"));
    UIViewController* root = plainController();
    keyWindowWithRoot(root);
    return root;
}

UIViewController* presentPanel(UIViewController* on, id text) {
    id panel = objc_autorelease(send<id>(send<id>(objc_getClass("LexornaViewController"), "alloc"), "init"));
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
    return contentsOf(device::Device::resolve(ExportPath));
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

TEST(TextPanel, OnARootlessDeviceTheSharePictureIsFoundUnderTheJailbreaksPrefix) {
    withLibrary([](void*) {
        auto picture =
            device::Device::resolve("/var/jb/Library/Application Support/Lexorna.bundle/Share.png");
        std::filesystem::create_directories(picture.parent_path());
        ASSERT_TRUE((PngImage{2, 2, std::vector<std::uint32_t>(4, 0xFF0000FF)}).write(picture));
        UIViewController* panel = presentPanel(prepareApp(), NSString::make("abc"));
        auto* shown = find<UIImageView>(panel->view());
        ASSERT_NE(shown, nullptr);
        EXPECT_NE(shown->image(), nullptr);
    });
}
