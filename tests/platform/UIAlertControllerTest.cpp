// Alerts and the share sheet: what they keep, and a tap on an alert's button.

#include "uikit/UIAlertController.h"
#include "uikit/UIActivityViewController.h"
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

TEST(UIAlertController, KeepsTitleMessageStyleAndActionsInOrder) {
    objc::AutoreleasePool pool;
    auto* alert = send<UIAlertController*>(UIAlertController::staticClass(),
                                           "alertControllerWithTitle:message:preferredStyle:", nullptr,
                                           NSString::make("Copied"), 1L);
    EXPECT_EQ(send<id>(alert, "title"), nullptr);
    EXPECT_EQ(utf8Of(send<id>(alert, "message")), "Copied");
    EXPECT_EQ(send<long>(alert, "preferredStyle"), 1);

    UIAlertAction* ok = action("OK", 0, NSBlock::make([] {}));
    UIAlertAction* cancel = action("Cancel", 1, nullptr);
    send(alert, "addAction:", ok);
    send(alert, "addAction:", cancel);
    auto* actions = send<NSArray*>(alert, "actions");
    ASSERT_EQ(actions->count(), 2u);
    EXPECT_EQ(actions->objectAtIndex(0), ok);
    EXPECT_EQ(utf8Of(send<id>(ok, "title")), "OK");
    EXPECT_EQ(send<long>(cancel, "style"), 1);
    EXPECT_EQ(cancel->handler(), nullptr);

    try {
        send(alert, "addAction:", action("Never mind", 1, nullptr));
        FAIL() << "a second cancel action raises";
    } catch (const objc::Exception& e) {
        EXPECT_EQ(e.name(), "NSInternalInconsistencyException");
    }
    EXPECT_EQ(alert->actions().size(), 2u);
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

TEST(UIActivityViewController, KeepsItsItems) {
    objc::AutoreleasePool pool;
    id item = NSString::make("/var/mobile/Library/Lexorna");
    auto* sheet = send<UIActivityViewController*>(
        send<id>(UIActivityViewController::staticClass(), "alloc"),
        "initWithActivityItems:applicationActivities:", NSArray::make({item}), nullptr);
    ASSERT_EQ(sheet->activityItems().size(), 1u);
    EXPECT_EQ(sheet->activityItems()[0].get(), item);
    EXPECT_TRUE(send<bool>(sheet, "isKindOfClass:", objc_getClass("UIViewController")));
}
