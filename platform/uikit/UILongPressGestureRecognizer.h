#pragma once

#include "UIGestureRecognizer.h"

// A continuous recogniser of fingers held down: it begins once the press has lasted
// minimumPressDuration, reports a change whenever the fingers move, and ends when they
// lift, calling its action at each step.
class UILongPressGestureRecognizer : public UIGestureRecognizer {
    OBJC_NATIVE_CLASS(UILongPressGestureRecognizer) : UIGestureRecognizer(isa) {}

    // Seconds, as a CFTimeInterval (double). A caller that holds the duration as a float
    // hands it over widened: 0.4f arrives as 0.4000000059604645, a hair above 0.4.
    double minimumPressDuration() const { return minimumPressDuration_; }
    void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }

private:
    double minimumPressDuration_ = 0.5;
};
