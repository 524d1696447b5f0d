#include "AppLaunch.h"
#include "ContentItems.h"

#include "uikit/LayoutPass.h"
#include "uikit/UIWindow.h"

namespace apps {

namespace {

Class presentedControllerClass(const nlohmann::json& name) {
    if (!name.is_string())
        objc::raise(objc::NSInvalidArgumentException,
                    "rootPresents: " + name.dump() + " is not a class name");
    std::string className = name.get<std::string>();
    Class cls = objc_getClass(className.c_str());
    if (!cls) {
        cls = objc_allocateClassPair(UIViewController::staticClass(), className.c_str(), 0);
        objc_registerClassPair(cls);
    }
    for (Class c = cls; c; c = class_getSuperclass(c))
        if (c == UIViewController::staticClass())
            return cls;
    objc::raise(objc::NSInvalidArgumentException,
                "rootPresents: " + className + " is not a kind of UIViewController");
}

} // namespace

UIWindow* startApp(const AppDescription& app, const nlohmann::json& content) {
    app.registerClasses();
    UIWindow* window = UIWindow::make(UIScreen::mainScreenBounds());
    window->setRootViewController(app.makeRootViewController(content));
    window->makeKeyAndVisible();

    id presenter = window->rootViewController();
    for (const auto& name : contentList(content, RootPresentsKey)) {
        id controller =
            objc_autorelease(objc::send<id>(objc::send<id>(presentedControllerClass(name), "alloc"), "init"));
        objc::send(presenter, "presentViewController:animated:completion:", controller, false, nullptr);
        presenter = controller;
    }
    layoutIfNeeded(window);
    return window;
}

} // namespace apps
