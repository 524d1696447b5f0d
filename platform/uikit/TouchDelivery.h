#pragma once

// Touch delivery: how one whole gesture of the user reaches gesture recognisers and
// controls. The model is deterministic and keeps to UIKit's defaults:
//
// 1. Hit view. A touch at a point goes to the deepest visible, interactive view under it
//    (UIView::hitTest: hidden views, views with alpha 0.01 or less and views with
//    userInteractionEnabled NO take no touches, nor do their subviews). A touch on a
//    given view lands on that view itself, at its centre, as if on a part that no
//    subview covers; when that view (or an ancestor) cannot take touches, the touch
//    goes to whatever hit-testing finds at that spot instead, as a finger would. All
//    fingers of a gesture land on the same hit view.
//
// 2. Candidates. The enabled recognisers of the hit view, then of its superview, and so
//    on up to the root of the tree (the window). Among the recognisers of one view, the
//    most recently added comes first.
//
// 3. Touch down. Each candidate's delegate that implements
//    gestureRecognizer:shouldReceiveTouch: is asked, in candidate order, with a UITouch
//    for the hit view; NO leaves that recogniser out of this gesture. It is asked once
//    per gesture, not once per finger and tap.
//
// 4. Matching. Gestures are matched whole: a tap gesture with N taps of M fingers
//    matches the tap recognisers with numberOfTapsRequired N and numberOfTouchesRequired
//    M, and nothing else. A single-tap recogniser therefore does not fire on the first
//    tap of a double tap (as if it required the double-tap recognisers to fail), and a
//    double tap on a view with only a single-tap recogniser passes on to its ancestors.
//    A long press of M fingers held S seconds matches the long-press recognisers with
//    numberOfTouchesRequired M and minimumPressDuration <= S, compared as doubles: a
//    duration set from the float 0.4 is 0.4000000059604645, which a press of exactly
//    0.4 does not reach (the usual press of 0.5 does). Taps never match long-press
//    recognisers and long presses never match tap recognisers.
//
// 5. Winning. Matching candidates are taken in candidate order. The first whose
//    delegate does not answer NO to gestureRecognizerShouldBegin: wins. A later one
//    recognises as well only if, for every recogniser that already won, either
//    delegate answers YES to
//        gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:
//    which is asked before the later one's gestureRecognizerShouldBegin:, since a
//    recogniser that is prevented is never asked to begin. Delegate methods are sent
//    through the runtime, and only to delegates that respond to them.
//
// 6. Controls. When the gesture is a single one-finger tap, the hit view is or lies
//    inside an enabled UIControl, and no recogniser of the control or of the views
//    below it has won, the control takes the touch: it sends its actions for
//    UIControlEventTouchUpInside, and the recognisers of its ancestors are not
//    considered (UIKit's controls win single taps over their superviews' recognisers).
//    Only touch-up-inside is modelled; other gestures pass a control by as if it were a
//    plain view.
//
// 7. Actions. A tap recogniser that won calls its action once in the state Ended (3).
//    Long-press winners go through Began (1) when the duration is reached, Changed (2)
//    if the fingers move, and Ended (3) when they lift, each step calling the action of
//    every winner in candidate order. Afterwards every winner is back in Possible (0).
//    A long press whose recogniser left its view, or whose view left the tree, during
//    an earlier step is cancelled: its action is called once with Cancelled (4) and it
//    takes no further steps, as UIKit cancels a gesture whose view goes away. A tap
//    recogniser in that situation simply does not fire.
//
// The hit view, its ancestors, the candidates and each target are kept alive for the
// whole delivery, so an action may remove views (its own included) safely. The
// delivery runs inside its own autorelease pool, as the run loop opens one per event.

#include "UIView.h"

#include <optional>
#include <string>
#include <vector>

// One gesture of the user.
struct TouchGesture {
    enum class Kind { Tap, LongPress };

    Kind kind = Kind::Tap;
    unsigned long taps = 1;    // taps of a tap gesture
    unsigned long touches = 1; // fingers
    double duration = 0;       // seconds a long press is held
    bool moved = false;        // whether the fingers of a long press move before they lift

    static TouchGesture tap(unsigned long taps = 1, unsigned long touches = 1) {
        return {Kind::Tap, taps, touches, 0, false};
    }
    static TouchGesture longPress(double duration, bool moved = false, unsigned long touches = 1) {
        return {Kind::LongPress, 1, touches, duration, moved};
    }
};

// One action call made during a delivery.
struct FiredAction {
    std::optional<std::string> recognizer; // the recogniser's class; none for a control's action
    std::string target;                    // the target's class
    std::string action;                    // the action's selector
    std::optional<long> state;             // the recogniser's state at the call; none for a control

    bool operator==(const FiredAction&) const = default;
};

// What a delivery did. It is filled as the delivery goes, each call recorded just
// before it is made, so that an action that raises (ending the launch) is on record.
struct TouchRecord {
    objc::Ref<UIView> hitView;      // nil when the touch reached no view
    std::vector<FiredAction> fired; // in call order
};

// Delivers a gesture that lands on `view` itself.
void deliverGesture(UIView* view, const TouchGesture& gesture, TouchRecord& record);

// Delivers a gesture at a point of `root` (in its coordinates), hit-testing it first.
void deliverGestureAt(UIView* root, CGPoint point, const TouchGesture& gesture, TouchRecord& record);
