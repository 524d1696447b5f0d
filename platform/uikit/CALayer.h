#pragma once

#include "UIColor.h"

// A view's layer: what draws its rounded corners, border and contents.
class CALayer : public NSObject {
    OBJC_NATIVE_CLASS(CALayer) : NSObject(isa) {}

    // kCALayerMinXMinYCorner 1, MaxXMinYCorner 2, MinXMaxYCorner 4, MaxXMaxYCorner 8.
    static constexpr unsigned long AllCorners = 15;

    static CALayer* make();

    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius) { cornerRadius_ = radius; }
    unsigned long maskedCorners() const { return maskedCorners_; }
    void setMaskedCorners(unsigned long corners) { maskedCorners_ = corners; }
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double width) { borderWidth_ = width; }
    CGColor* borderColor() const { return borderColor_.get(); } // nil: the default, opaque black
    void setBorderColor(CGColor* color) { borderColor_ = color; }
    // The layer's own; a view's colour is separate.
    CGColor* backgroundColor() const { return backgroundColor_.get(); }
    void setBackgroundColor(CGColor* color) { backgroundColor_ = color; }
    // A CGImage, drawn to fill the layer.
    objc::Object* contents() const { return contents_.get(); }
    void setContents(id contents) { contents_ = contents; }
    bool masksToBounds() const { return masksToBounds_; } // the owning view's clipsToBounds
    void setMasksToBounds(bool masks) { masksToBounds_ = masks; }

private:
    double cornerRadius_ = 0;
    unsigned long maskedCorners_ = AllCorners;
    double borderWidth_ = 0;
    objc::Ref<CGColor> borderColor_;
    objc::Ref<CGColor> backgroundColor_;
    objc::Ref<objc::Object> contents_;
    bool masksToBounds_ = false;
};
