#include "UITouch.h"
#include "UIWindow.h"

UITouch* UITouch::make(UIView* view, CGPoint location, unsigned long tapCount) {
    auto* touch = objc::make<UITouch>(staticClass());
    touch->view_ = view;
    touch->location_ = location;
    touch->tapCount_ = tapCount;
    return touch;
}

CGPoint UITouch::locationInView(const UIView* view) const {
    return view ? view->convertPointFromWindow(location_) : location_;
}

Class UITouch::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UITouch>("UITouch", NSObject::staticClass());
        objc::addMethod(
            c, "view", +[](id self, SEL) -> id { return static_cast<UITouch*>(self)->view(); });
        objc::addMethod(
            c, "window", +[](id self, SEL) -> id { return static_cast<UITouch*>(self)->window(); });
        objc::addMethod(
            c, "locationInView:", +[](id self, SEL, id view) -> CGPoint {
                return static_cast<UITouch*>(self)->locationInView(objc::cast<UIView>(view));
            });
        objc::addMethod(
            c, "tapCount",
            +[](id self, SEL) -> unsigned long { return static_cast<UITouch*>(self)->tapCount(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
