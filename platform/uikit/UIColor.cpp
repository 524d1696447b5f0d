#include "UIColor.h"

CGColor* CGColor::make(double red, double green, double blue, double alpha) {
    auto* color = objc::make<CGColor>(staticClass());
    color->rgba_ = {red, green, blue, alpha};
    return color;
}

bool CGColor::isEqual(const NSObject* other) const {
    auto* color = objc::dynCast<CGColor>(const_cast<NSObject*>(other));
    return color && color->rgba_ == rgba_;
}

Class CGColor::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<CGColor>("CGColor", NSObject::staticClass());
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

UIColor* UIColor::colorWithRed(double red, double green, double blue, double alpha) {
    auto* color = objc::make<UIColor>(staticClass());
    color->rgba_ = {red, green, blue, alpha};
    return color;
}

UIColor* UIColor::whiteColor() {
    return colorWithRed(1, 1, 1, 1);
}
UIColor* UIColor::blackColor() {
    return colorWithRed(0, 0, 0, 1);
}
UIColor* UIColor::clearColor() {
    return colorWithRed(0, 0, 0, 0);
}

CGColor* UIColor::CGColorValue() {
    if (!cgColor_)
        cgColor_ = CGColor::make(rgba_[0], rgba_[1], rgba_[2], rgba_[3]);
    return cgColor_.get();
}

bool UIColor::isEqual(const NSObject* other) const {
    auto* color = objc::dynCast<UIColor>(const_cast<NSObject*>(other));
    return color && color->rgba_ == rgba_;
}

Class UIColor::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIColor>("UIColor", NSObject::staticClass());
        objc::addClassMethod(
            c, "colorWithRed:green:blue:alpha:", +[](id, SEL, double r, double g, double b, double a) -> id {
                return UIColor::colorWithRed(r, g, b, a);
            });
        objc::addClassMethod(
            c, "whiteColor", +[](id, SEL) -> id { return UIColor::whiteColor(); });
        objc::addClassMethod(
            c, "blackColor", +[](id, SEL) -> id { return UIColor::blackColor(); });
        objc::addClassMethod(
            c, "clearColor", +[](id, SEL) -> id { return UIColor::clearColor(); });
        objc::addMethod(
            c, "CGColor", +[](id self, SEL) -> id { return static_cast<UIColor*>(self)->CGColorValue(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

UIFont* UIFont::systemFontOfSize(double pointSize) {
    auto* font = objc::make<UIFont>(staticClass());
    font->pointSize_ = pointSize;
    return font;
}

Class UIFont::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIFont>("UIFont", NSObject::staticClass());
        objc::addClassMethod(
            c,
            "systemFontOfSize:", +[](id, SEL, double size) -> id { return UIFont::systemFontOfSize(size); });
        objc::addMethod(
            c, "pointSize", +[](id self, SEL) -> double { return static_cast<UIFont*>(self)->pointSize(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
