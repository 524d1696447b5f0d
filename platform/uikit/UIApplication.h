#pragma once

#include "UIWindow.h"

// The running app: its windows and the key window.
class UIApplication : public UIResponder {
    OBJC_NATIVE_CLASS(UIApplication) : UIResponder(isa) {}

    static UIApplication* sharedApplication();
    UIWindow* keyWindow() const { return keyWindow_.get(); }
    void setKeyWindow(UIWindow* window) { keyWindow_ = window; }

private:
    objc::Ref<UIWindow> keyWindow_;
};
