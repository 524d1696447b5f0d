#pragma once

#include "UIColor.h"

// A view's layer: what draws its rounded corners, border and contents.
class CALayer : public NSObject {
    OBJC_NATIVE_CLASS(CALayer) : NSObject(isa) {}

    // kCALayerMinXMinYCorner 1, MaxXMinYCorner 2, MinXMaxYCorner 4, MaxXMaxYCorner 8.
    static constexpr unsigned long AllCorners = 15;

    static CALayer* make();

    double cornerRadius = 0;
    unsigned long maskedCorners = AllCorners;
    double borderWidth = 0;
    objc::Ref<CGColor> borderColor;     // nil: the default, opaque black
    objc::Ref<CGColor> backgroundColor; // the layer's own; a view's colour is separate
    objc::Ref<objc::Object> contents;   // a CGImage, drawn to fill the layer
    bool masksToBounds = false;         // the owning view's clipsToBounds
};
