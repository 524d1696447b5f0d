// Alerts: their actions in order, and one cancel action at most.

#include "uikit/UIAlertController.h"

#include <gtest/gtest.h>

using objc::send;

TEST(UIAlertController, KeepsItsActionsInOrderAndRaisesOnASecondCancel) {
    objc::AutoreleasePool pool;
    auto action = [](const char* title, long style) {
        return send<UIAlertAction*>(UIAlertAction::staticClass(),
                                    "actionWithTitle:style:handler:", NSString::make(title), style, nullptr);
    };
    auto* alert = UIAlertController::make(nullptr, NSString::make("Copied"), UIAlertControllerStyleAlert);
    UIAlertAction* ok = action("OK", UIAlertActionStyleDefault);
    UIAlertAction* cancel = action("Cancel", UIAlertActionStyleCancel);
    send(alert, "addAction:", ok);
    send(alert, "addAction:", cancel);
    EXPECT_THROW(send(alert, "addAction:", action("Never mind", UIAlertActionStyleCancel)), objc::Exception);
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0].get(), ok);
    EXPECT_EQ(alert->actions()[1].get(), cancel);
}
