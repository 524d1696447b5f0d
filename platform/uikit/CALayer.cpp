#include "CALayer.h"

CALayer* CALayer::make() {
    return objc::make<CALayer>(staticClass());
}

Class CALayer::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<CALayer>("CALayer", NSObject::staticClass());
        objc::addMethod(
            c, "setCornerRadius:", +[](id self, SEL, double radius) {
                static_cast<CALayer*>(self)->cornerRadius = radius;
            });
        objc::addMethod(
            c, "cornerRadius",
            +[](id self, SEL) -> double { return static_cast<CALayer*>(self)->cornerRadius; });
        objc::addMethod(
            c, "setMaskedCorners:", +[](id self, SEL, unsigned long corners) {
                static_cast<CALayer*>(self)->maskedCorners = corners;
            });
        objc::addMethod(
            c, "setBorderWidth:", +[](id self, SEL, double width) {
                static_cast<CALayer*>(self)->borderWidth = width;
            });
        objc::addMethod(
            c, "setBorderColor:", +[](id self, SEL, id color) {
                static_cast<CALayer*>(self)->borderColor = objc::cast<CGColor>(color);
            });
        objc::addMethod(
            c, "setBackgroundColor:", +[](id self, SEL, id color) {
                static_cast<CALayer*>(self)->backgroundColor = objc::cast<CGColor>(color);
            });
        objc::addMethod(
            c, "setContents:", +[](id self, SEL, id contents) {
                static_cast<CALayer*>(self)->contents = contents;
            });
        objc::addMethod(
            c, "contents", +[](id self, SEL) -> id { return static_cast<CALayer*>(self)->contents.get(); });
        objc::addMethod(
            c, "setMasksToBounds:", +[](id self, SEL, bool masks) {
                static_cast<CALayer*>(self)->masksToBounds = masks;
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
