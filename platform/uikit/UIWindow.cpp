#include "UIWindow.h"
#include "UIApplication.h"

UIWindow* UIWindow::make(CGRect frame) {
    auto* window = objc::make<UIWindow>(staticClass());
    window->setFrame(frame);
    return window;
}

void UIWindow::setRootViewController(UIViewController* controller) {
    if (rootViewController_ && rootViewController_->isViewLoaded())
        rootViewController_->view()->removeFromSuperview();
    rootViewController_ = controller;
    if (!controller)
        return;
    UIView* view = controller->view();
    view->setFrame(bounds());
    view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(view);
}

void UIWindow::makeKeyAndVisible() {
    UIApplication::sharedApplication()->setKeyWindow(this);
}

Class UIWindow::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIWindow>("UIWindow", UIView::staticClass());
        objc::addMethod(
            c, "rootViewController",
            +[](id window, SEL) -> id { return static_cast<UIWindow*>(window)->rootViewController(); });
        objc::addMethod(
            c, "setRootViewController:", +[](id window, SEL, id controller) {
                static_cast<UIWindow*>(window)->setRootViewController(
                    objc::cast<UIViewController>(controller));
            });
        objc::addMethod(
            c, "makeKeyAndVisible",
            +[](id window, SEL) { static_cast<UIWindow*>(window)->makeKeyAndVisible(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
