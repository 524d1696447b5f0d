#pragma once

#include "UIView.h"

#include "objc/Weak.h"

#include <vector>

// UIControlEvents.
enum UIControlEvents : unsigned long {
    UIControlEventTouchDown = 1,
    UIControlEventTouchUpInside = 64,
};

// UIControlState: a control's state is a mask; the normal state is none of the bits.
enum UIControlState : unsigned long {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1,
    UIControlStateDisabled = 2,
    UIControlStateSelected = 4,
};

// A view that sends actions to targets for control events. Targets are not retained.
class UIControl : public UIView {
    OBJC_NATIVE_CLASS(UIControl) : UIView(isa) {}

    struct TargetAction {
        objc::Weak<objc::Object> target; // not retained, as UIKit's; nil once it is gone
        SEL action;
        unsigned long events; // a mask of UIControlEvents
    };

    void addTarget(id target, SEL action, unsigned long events);
    const std::vector<TargetAction>& targetActions() const { return targetActions_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) {
        enabled_ = enabled;
        stateDidChange();
    }
    unsigned long state() const { return enabled_ ? UIControlStateNormal : UIControlStateDisabled; }

    // Sends, through the runtime, each action registered for any of the events; an
    // action whose name ends in a colon gets the control as its sender.
    void sendActionsForControlEvents(unsigned long events);

protected:
    // Subclasses that show their state (a button's title) follow it here.
    virtual void stateDidChange() {}

private:
    std::vector<TargetAction> targetActions_;
    bool enabled_ = true;
};
