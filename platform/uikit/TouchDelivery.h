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
//    on up to the root of the tree (the window), that need as many fingers as the
//    gesture has. Among the recognisers of one view, the most recently added comes
//    first. An editable UITextView is asked before its own recognisers through its text
//    interaction: a tap places the caret (it requires the double tap to fail), a double
//    tap selects the word under the finger, a long press selects there as it begins.
//
// 3. Touch down. Each candidate's delegate that implements
//    gestureRecognizer:shouldReceiveTouch: is asked, in candidate order, with a UITouch
//    for the hit view; NO leaves that recogniser out of this gesture. It is asked once
//    per gesture, not once per finger and tap.
//
// 4. Taps, one by one. Every tap of a gesture lands on the same hit view. At each lift
//    every tap recogniser still in the game counts the tap; one that reaches its
//    numberOfTapsRequired recognises then, in candidate order, unless a recogniser it
//    requires to fail (requireGestureRecognizerToFail:) may still recognise, in which
//    case it waits. So a single-tap recogniser fires at the first tap of a double tap.
//    Recognising asks gestureRecognizerShouldBegin: (NO: the recogniser fails) and, for
//    each recogniser that already recognised on this tap, whether a delegate answers YES
//    to gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer: (asked
//    before shouldBegin, since a prevented recogniser is never asked to begin). When one
//    recognises, every other that counted these touches fails, unless a delegate allows
//    both. A recogniser that recognised or failed starts counting afresh at the next tap.
//    When no further tap comes, those still short of their count fail, and those that
//    waited for them recognise. Long-press recognisers take no part in taps.
//
// 5. Long presses. A long press of S seconds reaches the long-press recognisers whose
//    minimumPressDuration <= S, compared as doubles: a duration set from the float 0.4
//    is 0.4000000059604645, which a press of exactly 0.4 does not reach (the usual 0.5
//    does). They are taken in candidate order; the first whose delegate does not refuse
//    to begin wins, and a later one begins as well only where a delegate allows both.
//    Tap recognisers take no part in long presses.
//
// 6. Controls. On a one-finger tap whose hit view is or lies inside an enabled
//    UIControl, when no recogniser of the control or of the views below it recognised,
//    the control takes the tap: the single-tap recognisers of its ancestors are left out
//    of it (UIKit's controls refuse them for their superviews), and it sends its actions
//    for UIControlEventTouchUpInside. While a recogniser on the way still counts towards
//    more taps, the control's touch is held back (UIKit's delaysTouchesEnded): it goes
//    through once that recogniser fails, and is cancelled if a recogniser recognises.
//    Only touch-up-inside is modelled.
//
// 7. Actions. A tap recogniser that recognises calls its action once in the state Ended
//    (3). Long-press winners go through Began (1) when the duration is reached, Changed
//    (2) if the fingers move, and Ended (3) when they lift, each step calling the action
//    of every winner in candidate order. Afterwards every recogniser is back in Possible
//    (0). A long press whose recogniser left its view, or whose view left the tree,
//    during an earlier step is cancelled: its action is called once with Cancelled (4)
//    and it takes no further steps, as UIKit cancels a gesture whose view goes away. A
//    tap recogniser in that situation simply does not fire.
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
