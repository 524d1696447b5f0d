#include "UIApplication.h"

UIApplication* UIApplication::sharedApplication() {
    // The application object lives as long as the process.
    static auto* application =
        new objc::Ref<UIApplication>(static_cast<UIApplication*>(class_createInstance(staticClass(), 0)));
    return application->get();
}

Class UIApplication::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIApplication>("UIApplication", UIResponder::staticClass());
        objc::addClassMethod(
            c, "sharedApplication", +[](id, SEL) -> id { return UIApplication::sharedApplication(); });
        objc::addMethod(
            c, "keyWindow",
            +[](id application, SEL) -> id { return static_cast<UIApplication*>(application)->keyWindow(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
