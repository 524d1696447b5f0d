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

private:
    objc::Ref<UIViewController> rootViewController_;
};

// The running app: its windows and the key window.
class UIApplication : public UIResponder {
    OBJC_NATIVE_CLASS(UIApplication) : UIResponder(isa) {}

    static UIApplication* sharedApplication();
    UIWindow* keyWindow() const { return keyWindow_.get(); }
    void setKeyWindow(UIWindow* window) { keyWindow_ = window; }

private:
    objc::Ref<UIWindow> keyWindow_;
};
