// Messages' inline action where a finger cannot reach: the host's own code taps a balloon
// that a full-screen presentation took out of the window, where no constraint could join
// the overlay to it.

#include "Launch.h"

#include "objc/Message.h"
#include "uikit/UIApplication.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using objc::send;

TEST(MessagesAdapter, ABalloonThatSharesNoAncestorWithTheTopMostViewGetsNoOverlay) {
    launch::inLaunch(
        {.settings = launch::settingsWithTrue({"Aw", "Messages"}),
         .filter = launch::filterListing({"com.apple.MobileSMS"}),
         .bundleIdentifier = "com.apple.MobileSMS",
         .app = "messages",
         .content = R"({"messages": ["parking is on level 3"]})"},
        [](const launch::Observed& observed) {
            ASSERT_EQ(observed.crash, "");
            objc::AutoreleasePool pool;
            UIWindow* window = UIApplication::sharedApplication()->keyWindow();
            UIView* balloon = launch::findViewOfClass(window, "CKBalloonTextView");
            ASSERT_NE(balloon, nullptr);
            id cover =
                objc_autorelease(send<id>(send<id>(objc_getClass("UIViewController"), "alloc"), "init"));
            send(cover, "setModalPresentationStyle:", 0L); // full screen
            send(window->rootViewController(), "presentViewController:animated:completion:", cover, false,
                 nullptr);
            ASSERT_EQ(balloon->window(), nullptr);

            EXPECT_NO_THROW(send(balloon, "CopyMobileSMS"));
            EXPECT_EQ(launch::findViewOfClass(send<UIView*>(cover, "view"), "UITextView"), nullptr);
        });
}
