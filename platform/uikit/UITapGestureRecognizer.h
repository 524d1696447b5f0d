#pragma once

#include "UIGestureRecognizer.h"

// A discrete recogniser of taps: it recognises when the required number of fingers have
// tapped the required number of times, and then calls its action once, in the state
// Ended (UIKit's Recognized).
class UITapGestureRecognizer : public UIGestureRecognizer {
    OBJC_NATIVE_CLASS(UITapGestureRecognizer) : UIGestureRecognizer(isa) {}

    unsigned long numberOfTapsRequired() const { return tapsRequired_; }
    void setNumberOfTapsRequired(unsigned long taps) { tapsRequired_ = taps; }

private:
    unsigned long tapsRequired_ = 1;
};
