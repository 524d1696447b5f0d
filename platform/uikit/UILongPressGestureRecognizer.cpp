#include "UILongPressGestureRecognizer.h"

Class UILongPressGestureRecognizer::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UILongPressGestureRecognizer>("UILongPressGestureRecognizer",
                                                                        UIGestureRecognizer::staticClass());
        objc::addMethod(
            c, "minimumPressDuration", +[](id self, SEL) -> double {
                return static_cast<UILongPressGestureRecognizer*>(self)->minimumPressDuration();
            });
        objc::addMethod(
            c, "setMinimumPressDuration:", +[](id self, SEL, double seconds) {
                static_cast<UILongPressGestureRecognizer*>(self)->setMinimumPressDuration(seconds);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
