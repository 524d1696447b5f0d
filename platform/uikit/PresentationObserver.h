#pragma once

class UIViewController;

// Hears what UIKit keeps to itself about each modal presentation, as an instrument
// attached to the process would: the controller that was sent the present message (a
// child presents through its root-most container, which is what -presentingViewController
// answers) and whether it was animated. The process has one observer at most.
class PresentationObserver {
public:
    virtual ~PresentationObserver() = default;
    virtual void didPresent(UIViewController* presented, UIViewController* sentTo, bool animated) = 0;

    // Raw: the observer outlives every presentation it hears of. Nil stops the telling.
    static void set(PresentationObserver* observer);
    static PresentationObserver* current();
};
