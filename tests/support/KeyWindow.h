#pragma once

#include "uikit/UIWindow.h"

// A plain controller, made through the runtime as host code makes one.
inline UIViewController* plainController() {
    return static_cast<UIViewController*>(
        objc_autorelease(objc::send<id>(objc::send<id>(UIViewController::staticClass(), "alloc"), "init")));
}

// A key window of a phone's 390 by 844 points showing `root`, as an app's launch makes one.
inline UIWindow* keyWindowWithRoot(UIViewController* root) {
    UIWindow* window = UIWindow::make(CGRectMake(0, 0, 390, 844));
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    return window;
}
