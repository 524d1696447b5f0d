// Modal presentation: one at a time, only from a view in a window, through the root-most
// container, and dismissal of everything above the dismissed controller.

#include "HeardPresentations.h"
#include "KeyWindow.h"

#include "uikit/UINavigationController.h"
#include "uikit/UIWindow.h"

#include "device/Instruments.h"
#include "foundation/SystemVersion.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

void present(UIViewController* presenter, UIViewController* presented, bool animated = true) {
    send(presenter, "presentViewController:animated:completion:", presented, animated, nullptr);
}

std::string describe(UIViewController* controller) {
    char text[96];
    std::snprintf(text, sizeof text, "<%s: %p>", controller->isa()->name.c_str(),
                  static_cast<void*>(controller));
    return text;
}

const std::vector<std::string>& logLines() {
    return device::Instruments::shared().logLines();
}

} // namespace

TEST(Presentation, ShowsThePresentedViewOverTheWindowAndCallsTheCompletion) {
    objc::AutoreleasePool pool;
    UIViewController* root = plainController();
    UIWindow* window = keyWindowWithRoot(root);
    UIViewController* sheet = plainController();
    bool completed = false;

    send(root, "presentViewController:animated:completion:", sheet, true,
         NSBlock::make([&] { completed = true; }));
    EXPECT_TRUE(completed) << "animations complete at once";
    EXPECT_EQ(send<id>(root, "presentedViewController"), sheet);
    EXPECT_EQ(send<id>(sheet, "presentingViewController"), root);
    ASSERT_TRUE(sheet->isViewLoaded());
    EXPECT_EQ(window->subviews().back().get(), sheet->sheetContainer()) << "in front of the root's view";
}

// From iOS 13 on a plain controller comes as a page sheet, in a container that takes the
// touches around it, and the screen beneath stays in the window; before, and for a
// full-screen style, over the whole window, which the screen beneath leaves until the
// dismissal puts it back where it was.
TEST(Presentation, APageSheetFromIOS13OnAndFullScreenBefore) {
    objc::AutoreleasePool pool;
    const OperatingSystemVersion running = runningSystemVersion();
    struct Case {
        const char* system;
        long style;
        bool pageSheet;
    };
    for (const Case& c :
         {Case{"12.4", UIModalPresentationAutomatic, false}, Case{"13.0", UIModalPresentationAutomatic, true},
          Case{"14.4", UIModalPresentationFullScreen, false},
          Case{"12.4", UIModalPresentationPageSheet, false}}) {
        setRunningSystemVersion(OperatingSystemVersion::parse(c.system));
        UIViewController* root = plainController();
        UIWindow* window = keyWindowWithRoot(root);
        UIViewController* sheet = plainController();
        send(sheet, "setModalPresentationStyle:", c.style);
        present(root, sheet);
        UIView* view = sheet->view();
        EXPECT_EQ(root->view()->window(), c.pageSheet ? window : nullptr) << c.system;
        if (c.pageSheet) {
            ASSERT_NE(sheet->sheetContainer(), nullptr) << c.system;
            EXPECT_EQ(sheet->sheetContainer()->superview(), window);
            EXPECT_EQ(sheet->sheetContainer()->frame(), window->bounds());
            EXPECT_EQ(view->superview(), sheet->sheetContainer());
            EXPECT_EQ(view->frame(), CGRectMake(0, 54, 390, 790));
            EXPECT_EQ(view->layer()->maskedCorners(), 3u) << "the top corners";
        } else {
            EXPECT_EQ(sheet->sheetContainer(), nullptr) << c.system;
            EXPECT_EQ(view->superview(), window);
            EXPECT_EQ(view->frame(), window->bounds());
        }
        send(sheet, "dismissViewControllerAnimated:completion:", true, nullptr);
        ASSERT_EQ(window->subviews().size(), 1u) << "the sheet and its container went";
        EXPECT_EQ(window->subviews()[0].get(), root->view()) << "the screen beneath is back";
    }
    setRunningSystemVersion(running);
}

TEST(Presentation, OneAtATimeAndOnlyFromAWindowWithUIKitsWarnings) {
    objc::AutoreleasePool pool;
    UIViewController* root = plainController();
    UIWindow* window = keyWindowWithRoot(root);
    UIViewController* first = plainController();
    UIViewController* second = plainController();
    present(root, first);
    std::size_t before = logLines().size();

    present(root, second);
    ASSERT_EQ(logLines().size(), before + 1);
    EXPECT_EQ(logLines().back(), "Warning: Attempt to present " + describe(second) + " on " + describe(root) +
                                     " which is already presenting " + describe(first));
    EXPECT_EQ(send<id>(root, "presentedViewController"), first);
    EXPECT_EQ(send<id>(second, "presentingViewController"), nullptr);
    EXPECT_EQ(window->subviews().size(), 2u);

    UIViewController* offscreen = plainController();
    offscreen->view(); // loaded, but in no window
    present(offscreen, second);
    ASSERT_EQ(logLines().size(), before + 2);
    EXPECT_EQ(logLines().back(), "Warning: Attempt to present " + describe(second) + " on " +
                                     describe(offscreen) + " whose view is not in the window hierarchy!");
    EXPECT_EQ(send<id>(offscreen, "presentedViewController"), nullptr);
    EXPECT_FALSE(second->isViewLoaded());
}

TEST(Presentation, FromAChildGoesToItsRootMostContainer) {
    objc::AutoreleasePool pool;
    UIViewController* chat = plainController();
    auto* navigation = UINavigationController::make(chat);
    auto* tabs = UITabBarController::make({navigation});
    keyWindowWithRoot(tabs);
    UIViewController* panel = plainController();
    HeardPresentations observer;

    present(chat, panel, false);
    EXPECT_EQ(send<id>(tabs, "presentedViewController"), panel);
    EXPECT_EQ(send<id>(chat, "presentedViewController"), panel) << "a child answers its container's";
    EXPECT_EQ(send<id>(panel, "presentingViewController"), tabs);
    ASSERT_EQ(observer.heard.size(), 1u);
    EXPECT_EQ(observer.heard[0].presented, panel);
    EXPECT_EQ(observer.heard[0].sentTo, chat) << "the observer hears who was sent the message";
    EXPECT_FALSE(observer.heard[0].animated);

    std::size_t before = logLines().size();
    present(navigation, plainController());
    EXPECT_EQ(logLines().size(), before + 1) << "the container is already presenting";
    EXPECT_EQ(observer.heard.size(), 1u) << "what shows nothing is not told";
}

TEST(Presentation, ChildOfAPresentedContainerDismissesThatPresentation) {
    objc::AutoreleasePool pool;
    UIViewController* root = plainController();
    keyWindowWithRoot(root);
    UIViewController* inner = plainController();
    auto* navigation = UINavigationController::make(inner);
    present(root, navigation);
    EXPECT_EQ(send<id>(inner, "presentingViewController"), root)
        << "its nearest presented ancestor's presenter";

    send(inner, "dismissViewControllerAnimated:completion:", true, nullptr);
    EXPECT_EQ(send<id>(root, "presentedViewController"), nullptr);
    EXPECT_EQ(navigation->view()->superview(), nullptr);
}

TEST(Presentation, DismissingTakesAwayEverythingAboveTheDismissedController) {
    objc::AutoreleasePool pool;
    UIViewController* root = plainController();
    UIWindow* window = keyWindowWithRoot(root);
    objc::Ref<UIViewController> first = plainController(), second = plainController(),
                                third = plainController();
    present(root, first.get());
    present(first.get(), second.get());
    present(second.get(), third.get());
    ASSERT_EQ(window->subviews().size(), 4u);

    // Sent to a controller that presents, it dismisses what it presents and all above.
    bool completed = false;
    send(first.get(), "dismissViewControllerAnimated:completion:", true,
         NSBlock::make([&] { completed = true; }));
    EXPECT_TRUE(completed);
    EXPECT_EQ(send<id>(root, "presentedViewController"), first.get());
    EXPECT_EQ(send<id>(first.get(), "presentedViewController"), nullptr);
    EXPECT_EQ(send<id>(second.get(), "presentedViewController"), nullptr);
    EXPECT_EQ(send<id>(third.get(), "presentingViewController"), nullptr);
    EXPECT_EQ(window->subviews().size(), 2u);

    // Sent to the presented controller itself, it asks its presenter.
    send(first.get(), "dismissViewControllerAnimated:completion:", true, nullptr);
    EXPECT_EQ(send<id>(root, "presentedViewController"), nullptr);
    EXPECT_EQ(window->subviews().size(), 1u);

    present(root, second.get());
    EXPECT_EQ(send<id>(root, "presentedViewController"), second.get())
        << "a dismissed controller may come back";
}

TEST(Presentation, PresentingNilOrAnActiveControllerRaisesAsUIKitDoes) {
    objc::AutoreleasePool pool;
    UIViewController* root = plainController();
    keyWindowWithRoot(root);
    UIViewController* child = plainController();
    UINavigationController::make(child);
    UIViewController* sheet = plainController();
    present(root, sheet);

    auto reasonOf = [](auto&& body) -> std::string {
        try {
            body();
        } catch (const objc::Exception& e) {
            EXPECT_EQ(e.name(), "NSInvalidArgumentException");
            return e.reason();
        }
        return "nothing raised";
    };
    EXPECT_EQ(reasonOf([&] { present(sheet, nullptr); }),
              "Application tried to present a nil modal view controller on target " + describe(sheet) + ".");
    EXPECT_EQ(reasonOf([&] { present(sheet, child); }),
              "Application tried to present modally an active controller " + describe(child) + ".");
    EXPECT_EQ(reasonOf([&] { present(sheet, sheet); }),
              "Application tried to present modally an active controller " + describe(sheet) + ".");
    EXPECT_EQ(send<id>(sheet, "presentedViewController"), nullptr);
}
