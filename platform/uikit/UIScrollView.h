#pragma once

#include "UIView.h"

// A view whose content may be larger than itself. Only its place in the class tree is
// modelled (text views are scroll views); nothing here scrolls.
class UIScrollView : public UIView {
    OBJC_NATIVE_CLASS(UIScrollView) : UIView(isa) {}
};
