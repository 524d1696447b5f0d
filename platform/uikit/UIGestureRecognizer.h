#pragma once

#include "CGGeometry.h"
#include "foundation/NSObject.h"
#include "objc/Weak.h"

#include <vector>

class UIView;

enum class UIGestureRecognizerState : long {
    Possible = 0,
    Began = 1,
    Changed = 2,
    Ended = 3, // also Recognized, for discrete gestures such as taps
    Cancelled = 4,
    Failed = 5,
};

// A recogniser attached to a view. Its target, delegate and view are not retained, as
// in UIKit: the view holds the recogniser, and the target is usually that view or its
// controller.
class UIGestureRecognizer : public NSObject {
    OBJC_NATIVE_CLASS(UIGestureRecognizer) : NSObject(isa) {}

    id target() const { return target_.get(); }
    SEL action() const { return action_; }
    void setTargetAction(id target, SEL action) {
        target_ = target;
        action_ = action;
    }
    id delegate() const { return delegate_.get(); }
    void setDelegate(id delegate) { delegate_ = delegate; }
    UIView* view() const { return view_; }
    void setView(UIView* view) { view_ = view; }
    UIGestureRecognizerState state() const { return state_; }
    void setState(UIGestureRecognizerState state) { state_ = state; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    unsigned long numberOfTouchesRequired() const { return touchesRequired_; }
    void setNumberOfTouchesRequired(unsigned long touches) { touchesRequired_ = touches; }

    // This recogniser recognises only once `other` has failed (a single tap that waits
    // for a double tap, say).
    void requireGestureRecognizerToFail(UIGestureRecognizer* other);
    const std::vector<objc::Ref<UIGestureRecognizer>>& requiredToFail() const { return requiredToFail_; }

    // Where the touch is, in a view's coordinates (nil: the window's); set by touch
    // delivery as the gesture goes.
    CGPoint locationInView(const UIView* view) const;
    void setLocation(CGPoint locationInWindow) { location_ = locationInWindow; }

    // Sends the action to the target through the runtime, with the recogniser as the
    // argument when the action takes one.
    void sendAction();

private:
    objc::Weak<objc::Object> target_; // not retained; nil once the target is gone
    SEL action_ = nullptr;
    objc::Weak<objc::Object> delegate_; // not retained; nil once the delegate is gone
    UIView* view_ = nullptr;            // raw: the view holds us
    UIGestureRecognizerState state_ = UIGestureRecognizerState::Possible;
    unsigned long touchesRequired_ = 1;
    bool enabled_ = true;
    std::vector<objc::Ref<UIGestureRecognizer>> requiredToFail_;
    CGPoint location_{}; // in the window's coordinates
};
