#include "UITapGestureRecognizer.h"

Class UITapGestureRecognizer::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UITapGestureRecognizer>("UITapGestureRecognizer",
                                                                  UIGestureRecognizer::staticClass());
        objc::addMethod(
            c, "numberOfTapsRequired", +[](id self, SEL) -> unsigned long {
                return static_cast<UITapGestureRecognizer*>(self)->numberOfTapsRequired();
            });
        objc::addMethod(
            c, "setNumberOfTapsRequired:", +[](id self, SEL, unsigned long taps) {
                static_cast<UITapGestureRecognizer*>(self)->setNumberOfTapsRequired(taps);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
