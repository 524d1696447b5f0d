#include "UINavigationController.h"

#include "foundation/NSArray.h"

namespace {
// Shows a child's view in its container, filling it.
void showChildView(UIViewController* container, UIViewController* child) {
    UIView* view = child->view();
    view->setFrame(container->view()->bounds());
    view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    container->view()->addSubview(view);
}
} // namespace

UINavigationController* UINavigationController::make(UIViewController* root) {
    auto* navigation = objc::make<UINavigationController>(staticClass());
    if (root)
        navigation->pushViewController(root);
    return navigation;
}

const std::vector<UIViewController*> UINavigationController::viewControllers() const {
    return stack_;
}

UIViewController* UINavigationController::topViewController() const {
    return stack_.empty() ? nullptr : stack_.back();
}

UIViewController* UINavigationController::visibleViewController() const {
    if (auto* presented = presentedViewController();
        presented && presented->presentingViewController() == this)
        return presented;
    return topViewController();
}

void UINavigationController::pushViewController(UIViewController* controller) {
    if (!controller)
        return;
    if (auto* top = topViewController(); top && top->isViewLoaded())
        top->view()->removeFromSuperview();
    addChildViewController(controller);
    stack_.push_back(controller);
    showChildView(this, controller);
}

Class UINavigationController::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UINavigationController>("UINavigationController",
                                                                  UIViewController::staticClass());
        objc::addMethod(
            c, "initWithRootViewController:", +[](id self, SEL, id root) -> id {
                static_cast<UINavigationController*>(self)->pushViewController(
                    objc::cast<UIViewController>(root));
                return self;
            });
        objc::addMethod(
            c, "pushViewController:animated:", +[](id self, SEL, id controller, bool) {
                static_cast<UINavigationController*>(self)->pushViewController(
                    objc::cast<UIViewController>(controller));
            });
        objc::addMethod(
            c, "topViewController", +[](id self, SEL) -> id {
                return static_cast<UINavigationController*>(self)->topViewController();
            });
        objc::addMethod(
            c, "visibleViewController", +[](id self, SEL) -> id {
                return static_cast<UINavigationController*>(self)->visibleViewController();
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

UITabBarController* UITabBarController::make(const std::vector<UIViewController*>& controllers) {
    auto* tabs = objc::make<UITabBarController>(staticClass());
    for (auto* controller : controllers)
        tabs->addChildViewController(controller);
    tabs->setSelectedIndex(0);
    return tabs;
}

UIViewController* UITabBarController::selectedViewController() const {
    const auto& children = childViewControllers();
    return selectedIndex_ < children.size() ? children[selectedIndex_].get() : nullptr;
}

void UITabBarController::setSelectedIndex(std::size_t index) {
    if (auto* current = selectedViewController(); current && current->isViewLoaded())
        current->view()->removeFromSuperview();
    selectedIndex_ = index;
    if (auto* selected = selectedViewController())
        showChildView(this, selected);
}

Class UITabBarController::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UITabBarController>("UITabBarController",
                                                              UIViewController::staticClass());
        objc::addMethod(
            c, "selectedViewController", +[](id self, SEL) -> id {
                return static_cast<UITabBarController*>(self)->selectedViewController();
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
