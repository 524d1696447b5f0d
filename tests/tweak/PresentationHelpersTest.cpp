// The presentation helpers: which controller is top-most in the shapes a host's
// hierarchy takes, and the alert. Reading a host's values by key is played through the
// host table's drifted classes.

#include "HeardPresentations.h"
#include "KeyWindow.h"
#include "LibraryProcess.h"

#include "foundation/NSString.h"
#include "objc/Message.h"
#include "uikit/UIAlertController.h"
#include "uikit/UIApplication.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIWindow.h"

#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>

using objc::send;

namespace {

// The library's internal walk, reached the way the panel's actions reach it: by
// presenting on it. topMostController itself is not exported, so the tests hear which
// controller the library sends an alert's present message to.
using AlertFunction = void (*)(NSString*, NSString*);

HeardPresentations::Heard alertPresentation(void* library) {
    auto alert = reinterpret_cast<AlertFunction>(::dlsym(library, "Alert"));
    HeardPresentations observer;
    if (alert)
        alert(nullptr, NSString::make("message"));
    for (const auto& heard : observer.heard)
        if (objc::dynCast<UIAlertController>(heard.presented))
            return heard;
    return {nullptr, nullptr, false};
}

} // namespace

TEST(PresentationHelpers, AlertGoesOnTheTopMostControllerOfEachShapeOfHierarchy) {
    // Each shape makes its key window and answers the controller the alert belongs on. A
    // plain root and a tab bar, which is not looked into, are the hosts' own shapes,
    // where the simulator's host table checks the panel's presenter.
    const std::pair<const char*, std::function<UIViewController*()>> shapes[] = {
        {"modal presentations are followed to the deepest",
         [] {
             UIViewController* root = plainController();
             keyWindowWithRoot(root);
             UIViewController* first = plainController();
             UIViewController* second = plainController();
             root->present(first, false, {});
             first->present(second, false, {});
             return second;
         }},
        {"a navigation root whose top presents a navigation controller gives its visible one",
         [] {
             UIViewController* top = plainController();
             keyWindowWithRoot(UINavigationController::make(top));
             UIViewController* inner = plainController();
             top->present(UINavigationController::make(inner), false, {});
             return inner;
         }},
    };
    for (const auto& [name, shape] : shapes) {
        SCOPED_TRACE(name);
        withLibrary([&](void* library) {
            UIViewController* expected = shape();
            EXPECT_EQ(alertPresentation(library).sentTo, expected);
        });
    }
}

TEST(PresentationHelpers, WithoutAKeyWindowTheAlertGoesNowhere) {
    withLibrary([](void* library) {
        auto alert = reinterpret_cast<AlertFunction>(::dlsym(library, "Alert"));
        ASSERT_NE(alert, nullptr);
        alert(NSString::make("title"), NSString::make("message")); // nothing to present on
        EXPECT_EQ(UIApplication::sharedApplication()->keyWindow(), nullptr);
    });
}

TEST(PresentationHelpers, AlertWithoutTitleShowsTheMessageAndOneOkButton) {
    withLibrary([](void* library) {
        UIViewController* root = plainController();
        keyWindowWithRoot(root);
        HeardPresentations::Heard heard = alertPresentation(library);
        ASSERT_EQ(heard.sentTo, root);
        EXPECT_TRUE(heard.animated);
        auto* alert = objc::cast<UIAlertController>(root->presentedViewController());
        EXPECT_EQ(alert->title(), nullptr);
        EXPECT_EQ(utf8Of(alert->message()), "message");
        EXPECT_EQ(alert->preferredStyle(), 1);
        ASSERT_EQ(alert->actions().size(), 1u);
        EXPECT_EQ(utf8Of(alert->actions()[0]->title()), "OK");
        EXPECT_EQ(alert->actions()[0]->style(), 0);
    });
}
