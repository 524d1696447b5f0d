// Alerts: one cancel action at most, and a tap on an action's button.

#include "uikit/UIAlertController.h"
#include "uikit/UIWindow.h"

#include "foundation/NSArray.h"

#include <gtest/gtest.h>

using objc::send;

namespace {
UIAlertAction* action(const char* title, long style, NSBlock* handler) {
    return send<UIAlertAction*>(UIAlertAction::staticClass(),
                                "actionWithTitle:style:handler:", NSString::make(title), style, handler);
}
} // namespace

TEST(UIAlertController, KeepsItsActionsInOrderAndRaisesOnASecondCancel) {
    objc::AutoreleasePool pool;
    auto* alert = send<UIAlertController*>(UIAlertController::staticClass(),
                                           "alertControllerWithTitle:message:preferredStyle:", nullptr,
                                           NSString::make("Copied"), 1L);
    UIAlertAction* ok = action("OK", 0, NSBlock::make([] {}));
    UIAlertAction* cancel = action("Cancel", 1, nullptr);
    send(alert, "addAction:", ok);
    send(alert, "addAction:", cancel);
    try {
        send(alert, "addAction:", action("Never mind", 1, nullptr));
        FAIL() << "a second cancel action raises";
    } catch (const objc::Exception& e) {
        EXPECT_EQ(e.name(), "NSInternalInconsistencyException");
    }
    auto* actions = send<NSArray*>(alert, "actions");
    ASSERT_EQ(actions->count(), 2u);
    EXPECT_EQ(actions->objectAtIndex(0), ok);
    EXPECT_EQ(actions->objectAtIndex(1), cancel);
}

TEST(UIAlertController, TappingAnActionDismissesTheAlertThenRunsItsHandler) {
    objc::AutoreleasePool pool;
    UIViewController* root =
        send<UIViewController*>(send<id>(UIViewController::staticClass(), "alloc"), "init");
    UIWindow* window = UIWindow::make(CGRectMake(0, 0, 390, 844));
    window->setRootViewController(root);
    auto* alert = UIAlertController::make(NSString::make("Title"), nullptr, UIAlertControllerStyleAlert);
    std::vector<std::string> events;
    UIAlertAction* ok =
        action("OK", 0, NSBlock::make([&] {
                   events.push_back(send<id>(root, "presentedViewController") ? "handler, alert up"
                                                                              : "handler, alert gone");
               }));
    alert->addAction(ok);
    send(root, "presentViewController:animated:completion:", alert, true, nullptr);
    ASSERT_EQ(send<id>(root, "presentedViewController"), alert);

    alert->tapAction(ok);
    EXPECT_EQ(events, std::vector<std::string>{"handler, alert gone"});
    EXPECT_EQ(send<id>(root, "presentedViewController"), nullptr);
}
