#pragma once

#include "UIView.h"

// A finger on the screen, as a recogniser's delegate is shown it: the view it landed in,
// where, and how many times it tapped.
class UITouch : public NSObject {
    OBJC_NATIVE_CLASS(UITouch) : NSObject(isa) {}

    // `location` is in the coordinates of the view tree's root (the window).
    static UITouch* make(UIView* view, CGPoint location, unsigned long tapCount);

    UIView* view() const { return view_.get(); }
    UIWindow* window() const { return view_ ? view_->window() : nullptr; }
    // The location in a view's coordinates; nil asks for the window's.
    CGPoint locationInView(const UIView* view) const;
    unsigned long tapCount() const { return tapCount_; }

private:
    objc::Ref<UIView> view_; // strong, as UIKit's touch keeps the view it began in
    CGPoint location_{};
    unsigned long tapCount_ = 1;
};
