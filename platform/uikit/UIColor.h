#pragma once

#include "foundation/NSObject.h"

#include <array>

// A Core Graphics colour: what a layer's background and border take.
class CGColor : public NSObject {
    OBJC_NATIVE_CLASS(CGColor) : NSObject(isa) {}

    static CGColor* make(double red, double green, double blue, double alpha);
    std::array<double, 4> components() const { return rgba_; }
    bool isEqual(const NSObject* other) const override;

private:
    std::array<double, 4> rgba_{0, 0, 0, 1};
};

// An RGBA colour with components from 0 to 1.
class UIColor : public NSObject {
    OBJC_NATIVE_CLASS(UIColor) : NSObject(isa) {}

    static UIColor* colorWithRed(double red, double green, double blue, double alpha);
    static UIColor* whiteColor();
    static UIColor* blackColor();
    static UIColor* clearColor();

    std::array<double, 4> components() const { return rgba_; }
    CGColor* CGColorValue();
    bool isEqual(const NSObject* other) const override;

private:
    std::array<double, 4> rgba_{0, 0, 0, 1};
    objc::Ref<CGColor> cgColor_;
};

// A system font of a point size.
class UIFont : public NSObject {
    OBJC_NATIVE_CLASS(UIFont) : NSObject(isa) {}

    static UIFont* systemFontOfSize(double pointSize);
    double pointSize() const { return pointSize_; }

private:
    double pointSize_ = 17;
};
