#pragma once

#include "UIViewController.h"

// A stack of controllers; the top one's view fills the navigation controller's view.
class UINavigationController : public UIViewController {
    OBJC_NATIVE_CLASS(UINavigationController) : UIViewController(isa) {}

    static UINavigationController* make(UIViewController* root);

    const std::vector<UIViewController*> viewControllers() const;
    UIViewController* topViewController() const;
    // The top controller, or a controller presented on the navigation controller.
    UIViewController* visibleViewController() const;
    void pushViewController(UIViewController* controller);

private:
    std::vector<UIViewController*> stack_; // raw: the children list holds them
};

// Tabs of controllers; the selected one's view fills the tab bar controller's view.
class UITabBarController : public UIViewController {
    OBJC_NATIVE_CLASS(UITabBarController) : UIViewController(isa) {}

    static UITabBarController* make(const std::vector<UIViewController*>& controllers);
    UIViewController* selectedViewController() const;
    void setSelectedIndex(std::size_t index);

private:
    std::size_t selectedIndex_ = 0;
};
