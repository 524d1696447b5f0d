#pragma once

#include "UIViewController.h"

// The window: the root of the view tree on screen. It holds its root view controller,
// whose view fills it.
class UIWindow : public UIView {
    OBJC_NATIVE_CLASS(UIWindow) : UIView(isa) {}

    static UIWindow* make(CGRect frame);

    UIViewController* rootViewController() const { return rootViewController_.get(); }
    void setRootViewController(UIViewController* controller);
    void makeKeyAndVisible();

    // The view that takes the text menu's commands and typing: the text view the user
    // last selected in. Kept after the view leaves, as UIKit keeps it until another takes
    // over; callers check that it is still on screen.
    UIView* firstResponder() const { return firstResponder_.get(); }
    void setFirstResponder(UIView* view) { firstResponder_ = view; }

private:
    objc::Ref<UIViewController> rootViewController_;
    objc::Ref<UIView> firstResponder_;
};
