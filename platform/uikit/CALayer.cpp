#include "CALayer.h"

CALayer* CALayer::make() {
    return objc::make<CALayer>(staticClass());
}

Class CALayer::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<CALayer>("CALayer", NSObject::staticClass());
        objc::addMethod(
            c, "setCornerRadius:", +[](id self, SEL, double radius) {
                static_cast<CALayer*>(self)->setCornerRadius(radius);
            });
        objc::addMethod(
            c, "cornerRadius",
            +[](id self, SEL) -> double { return static_cast<CALayer*>(self)->cornerRadius(); });
        objc::addMethod(
            c, "setMaskedCorners:", +[](id self, SEL, unsigned long corners) {
                static_cast<CALayer*>(self)->setMaskedCorners(corners);
            });
        objc::addMethod(
            c, "setBorderWidth:", +[](id self, SEL, double width) {
                static_cast<CALayer*>(self)->setBorderWidth(width);
            });
        objc::addMethod(
            c, "setBorderColor:", +[](id self, SEL, id color) {
                static_cast<CALayer*>(self)->setBorderColor(objc::cast<CGColor>(color));
            });
        objc::addMethod(
            c, "setBackgroundColor:", +[](id self, SEL, id color) {
                static_cast<CALayer*>(self)->setBackgroundColor(objc::cast<CGColor>(color));
            });
        objc::addMethod(
            c, "setContents:", +[](id self, SEL, id contents) {
                static_cast<CALayer*>(self)->setContents(contents);
            });
        objc::addMethod(
            c, "contents", +[](id self, SEL) -> id { return static_cast<CALayer*>(self)->contents(); });
        objc::addMethod(
            c, "setMasksToBounds:", +[](id self, SEL, bool masks) {
                static_cast<CALayer*>(self)->setMasksToBounds(masks);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
