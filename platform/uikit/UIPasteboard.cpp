#include "UIPasteboard.h"
#include "StringCopy.h"

UIPasteboard* UIPasteboard::generalPasteboard() {
    // Lives as long as the process.
    static auto* pasteboard =
        new objc::Ref<UIPasteboard>(static_cast<UIPasteboard*>(class_createInstance(staticClass(), 0)));
    return pasteboard->get();
}

void UIPasteboard::setString(id string) {
    string_ = copyString(string);
}

Class UIPasteboard::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIPasteboard>("UIPasteboard", NSObject::staticClass());
        objc::addClassMethod(
            c, "generalPasteboard", +[](id, SEL) -> id { return UIPasteboard::generalPasteboard(); });
        objc::addMethod(
            c, "string", +[](id self, SEL) -> id { return static_cast<UIPasteboard*>(self)->string(); });
        objc::addMethod(
            c, "setString:", +[](id self, SEL, id string) {
                static_cast<UIPasteboard*>(self)->setString(string);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
