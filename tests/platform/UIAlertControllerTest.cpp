// Alerts: a tap on an action's button.

#include "uikit/UIAlertController.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

using objc::send;

namespace {
UIAlertAction* action(const char* title, long style, NSBlock* handler) {
    return send<UIAlertAction*>(UIAlertAction::staticClass(),
                                "actionWithTitle:style:handler:", NSString::make(title), style, handler);
}
} // namespace

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
