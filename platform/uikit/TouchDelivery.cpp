#include "TouchDelivery.h"
#include "UIControl.h"
#include "UILongPressGestureRecognizer.h"
#include "UITapGestureRecognizer.h"
#include "UITextView.h"
#include "UITouch.h"

#include <algorithm>
#include <utility>

using objc::Ref;

namespace {

using State = UIGestureRecognizerState;

// A recogniser taking part in one gesture, with where it stands in it.
struct Candidate {
    Ref<UIGestureRecognizer> recognizer;
    UIView* view; // the view the recogniser was on when the touch began (kept by the chain)
    UITapGestureRecognizer* tap = nullptr; // the recogniser as a tap recogniser, when it is one
    unsigned long taps = 0;                // taps counted since it last recognised or failed
    bool failed = false;                   // failed during the current tap; counts again from the next
    bool waiting = false;                  // has its taps, but waits for a recogniser it requires to fail
    bool recognized = false;               // recognised during the current tap
    bool begun = false;                    // a long press that went through Began
    bool done = false;                     // a long press cancelled or over
};

bool takesTouches(const UIView* view) {
    for (const UIView* v = view; v; v = v->superview())
        if (v->isHidden() || v->alpha() <= 0.01 || !v->isUserInteractionEnabled())
            return false;
    return true;
}

CGPoint centreInRoot(const UIView* view) {
    CGRect frame = view->superview() ? view->frameInWindow() : view->bounds();
    return {frame.midX(), frame.midY()};
}

bool delegateAnswers(id delegate, const char* selector, bool fallback, auto... arguments) {
    // Most recognisers have no delegate: that is told before anything is looked up, as
    // it is asked for every candidate.
    if (!delegate)
        return fallback;
    SEL sel = sel_registerName(selector);
    if (!class_respondsToSelector(delegate->isa(), sel))
        return fallback;
    Ref<objc::Object> keep = delegate; // the delegate is not retained by its recogniser
    return objc::send<bool>(delegate, sel, static_cast<id>(arguments)...);
}

bool shouldReceiveTouch(UIGestureRecognizer* recognizer, UITouch* touch) {
    return delegateAnswers(recognizer->delegate(), "gestureRecognizer:shouldReceiveTouch:", true, recognizer,
                           touch);
}

bool shouldBegin(UIGestureRecognizer* recognizer) {
    return delegateAnswers(recognizer->delegate(), "gestureRecognizerShouldBegin:", true, recognizer);
}

bool mayRecognizeTogether(UIGestureRecognizer* first, UIGestureRecognizer* second) {
    const char* selector = "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:";
    return delegateAnswers(first->delegate(), selector, false, first, second) ||
           delegateAnswers(second->delegate(), selector, false, second, first);
}

std::string classOf(id object) {
    return object->isa()->name;
}

// The recognisers that a touch on a view reaches, in the order they are asked: an
// editable text view's own first, then the view's from the newest.
void appendRecognizersOf(UIView* view, std::vector<Candidate>& candidates) {
    if (auto* textView = objc::dynCast<UITextView>(view); textView && textView->isEditable())
        for (const auto& recognizer : textView->textInteractionRecognizers())
            candidates.push_back({recognizer, view});
    const auto& recognizers = view->gestureRecognizers();
    for (auto it = recognizers.rbegin(); it != recognizers.rend(); ++it)
        if ((*it)->isEnabled())
            candidates.push_back({*it, view});
}

class Delivery {
public:
    Delivery(UIView* hitView, CGPoint location, const TouchGesture& gesture, TouchRecord& record)
        : gesture_(gesture), record_(record), location_(location) {
        for (UIView* view = hitView; view; view = view->superview())
            chain_.emplace_back(view);
        touch_ = UITouch::make(hitView, location, gesture.taps);
    }

    void run() {
        collectCandidates();
        if (gesture_.kind == TouchGesture::Kind::Tap)
            runTaps();
        else
            runLongPress();
        for (auto& candidate : candidates_)
            candidate.recognizer->setState(State::Possible);
    }

private:
    void collectCandidates() {
        for (const auto& view : chain_)
            appendRecognizersOf(view.get(), candidates_);
        // Asked of every candidate before any of them recognises, as at touch down.
        std::erase_if(candidates_, [&](const Candidate& c) {
            return c.recognizer->numberOfTouchesRequired() != gesture_.touches ||
                   !shouldReceiveTouch(c.recognizer.get(), touch_.get());
        });
        for (auto& candidate : candidates_) {
            candidate.recognizer->setLocation(location_);
            candidate.tap = objc::dynCast<UITapGestureRecognizer>(candidate.recognizer.get());
        }
    }

    // ---- Taps, one by one

    static UITapGestureRecognizer* tapOf(const Candidate& candidate) { return candidate.tap; }

    void runTaps() {
        // Only tap recognisers follow taps; the rest fail at the first lift.
        std::erase_if(candidates_, [](const Candidate& c) { return !tapOf(c); });
        for (unsigned long tap = 1; tap <= gesture_.taps; ++tap)
            deliverTap();
        // No further tap comes within the interval: those still counting fail, which
        // may release the ones that wait for them.
        for (auto& candidate : candidates_)
            if (candidate.taps > 0 && !candidate.waiting && !candidate.recognized)
                fail(candidate);
        resolveWaiting();
        if (!anyRecognized())
            firePendingControl();
    }

    void deliverTap() {
        for (auto& candidate : candidates_) {
            if (candidate.failed || candidate.recognized)
                candidate = Candidate{std::move(candidate.recognizer), candidate.view, candidate.tap};
            if (!candidate.waiting) // a recogniser that waits has all the taps it needs
                ++candidate.taps;
        }
        bool oneFinger = gesture_.touches == 1;
        bool controlTookTap = false;
        auto next = candidates_.begin();
        for (const auto& view : chain_) {
            for (; next != candidates_.end() && next->view == view.get(); ++next) {
                Candidate& candidate = *next;
                // Above a control that took the tap, single-tap recognisers are left out,
                // as UIKit's controls refuse them for their superviews.
                if (controlTookTap && tapOf(candidate)->numberOfTapsRequired() == 1)
                    fail(candidate);
                if (!candidate.failed && candidate.taps == tapOf(candidate)->numberOfTapsRequired())
                    reachedTaps(candidate);
            }
            auto* control = objc::dynCast<UIControl>(view.get());
            if (oneFinger && !controlTookTap && control && control->isEnabled() && !anyRecognized()) {
                controlTookTap = true;
                pendingControl_ = control;
            }
        }
        resolveWaiting();
        if (anyRecognized())
            pendingControl_ = nullptr; // a recogniser took the touches: the control's are cancelled
        else if (!anyCounting())
            firePendingControl();
    }

    // Whether a recogniser still counts taps towards a number it has not reached.
    bool anyCounting() const {
        return std::any_of(candidates_.begin(), candidates_.end(), [](const Candidate& c) {
            return !c.failed && !c.waiting && !c.recognized && c.taps > 0;
        });
    }

    void firePendingControl() {
        if (UIControl* control = std::exchange(pendingControl_, nullptr))
            fireControl(control);
    }

    bool anyRecognized() const {
        return std::any_of(candidates_.begin(), candidates_.end(),
                           [](const Candidate& c) { return c.recognized; });
    }

    // Whether a recogniser that `candidate` requires to fail may still recognise.
    bool requirementPending(const Candidate& candidate) const {
        for (const auto& required : candidate.recognizer->requiredToFail())
            for (const auto& other : candidates_)
                if (other.recognizer == required && !other.failed && !other.recognized && other.taps > 0)
                    return true;
        return false;
    }

    bool requirementRecognized(const Candidate& candidate) const {
        for (const auto& required : candidate.recognizer->requiredToFail())
            for (const auto& other : candidates_)
                if (other.recognizer == required && other.recognized)
                    return true;
        return false;
    }

    void reachedTaps(Candidate& candidate) {
        if (requirementPending(candidate)) {
            candidate.waiting = true;
            return;
        }
        recognizeTap(candidate);
    }

    void recognizeTap(Candidate& candidate) {
        candidate.waiting = false;
        bool allowed = !requirementRecognized(candidate) &&
                       std::all_of(candidates_.begin(), candidates_.end(), [&](const Candidate& other) {
                           return !other.recognized ||
                                  mayRecognizeTogether(other.recognizer.get(), candidate.recognizer.get());
                       });
        if (!allowed || !stillAttached(candidate) || !shouldBegin(candidate.recognizer.get())) {
            fail(candidate);
            return;
        }
        candidate.recognized = true;
        // The others on these touches fail, unless a delegate lets both recognise.
        for (auto& other : candidates_)
            if (&other != &candidate && !other.recognized && !other.failed && other.taps > 0 &&
                !mayRecognizeTogether(candidate.recognizer.get(), other.recognizer.get()))
                fail(other);
        callAction(candidate, State::Ended);
    }

    void fail(Candidate& candidate) {
        candidate.failed = true;
        candidate.waiting = false;
        candidate.taps = 0;
    }

    // Recognisers that wait recognise, in candidate order, once nothing they require can
    // recognise any more, and fail if what they require has recognised.
    void resolveWaiting() {
        for (auto& candidate : candidates_) {
            if (!candidate.waiting || requirementPending(candidate))
                continue;
            recognizeTap(candidate);
        }
    }

    // ---- Long presses

    void runLongPress() {
        for (auto& candidate : candidates_)
            if (auto* press = objc::dynCast<UILongPressGestureRecognizer>(candidate.recognizer.get());
                press && gesture_.duration >= press->minimumPressDuration())
                considerLongPress(candidate);
        fireStep(State::Began);
        if (gesture_.moved)
            fireStep(State::Changed);
        fireStep(State::Ended);
    }

    void considerLongPress(Candidate& candidate) {
        bool blocked = std::any_of(pressWinners_.begin(), pressWinners_.end(), [&](const Candidate* winner) {
            return !mayRecognizeTogether(winner->recognizer.get(), candidate.recognizer.get()) ||
                   std::find(candidate.recognizer->requiredToFail().begin(),
                             candidate.recognizer->requiredToFail().end(),
                             winner->recognizer) != candidate.recognizer->requiredToFail().end();
        });
        if (!blocked && shouldBegin(candidate.recognizer.get()))
            pressWinners_.push_back(&candidate);
    }

    void fireStep(State state) {
        for (auto* winner : pressWinners_) {
            if (winner->done)
                continue;
            if (!stillAttached(*winner)) {
                winner->done = true;
                if (winner->begun)
                    callAction(*winner, State::Cancelled);
                continue;
            }
            winner->begun = true;
            callAction(*winner, state);
        }
    }

    // ---- Shared

    // A recogniser stays in the gesture while it is on the view it began on and that
    // view is still in the tree the touch landed in.
    bool stillAttached(const Candidate& candidate) const {
        return candidate.recognizer->view() == candidate.view &&
               candidate.view->isDescendantOf(chain_.back().get());
    }

    void callAction(Candidate& candidate, State state) {
        UIGestureRecognizer* recognizer = candidate.recognizer.get();
        recognizer->setState(state);
        Ref<objc::Object> target = recognizer->target();
        if (!target || !recognizer->action())
            return;
        record_.fired.push_back({classOf(recognizer), classOf(target.get()),
                                 sel_getName(recognizer->action()), static_cast<long>(state)});
        recognizer->sendAction();
    }

    void fireControl(UIControl* control) {
        std::vector<Ref<objc::Object>> targets;
        for (const auto& entry : control->targetActions()) {
            if (!(entry.events & UIControlEventTouchUpInside) || !entry.target)
                continue;
            targets.emplace_back(entry.target.get()); // kept alive while the control sends
            record_.fired.push_back(
                {std::nullopt, classOf(entry.target.get()), sel_getName(entry.action), std::nullopt});
        }
        control->sendActionsForControlEvents(UIControlEventTouchUpInside);
    }

    const TouchGesture& gesture_;
    TouchRecord& record_;
    CGPoint location_;
    std::vector<Ref<UIView>> chain_; // the hit view, then its ancestors up to the root
    Ref<UITouch> touch_;
    std::vector<Candidate> candidates_;    // in the order they are asked
    std::vector<Candidate*> pressWinners_; // into candidates_, in candidate order
    UIControl* pendingControl_ = nullptr;  // took a tap and waits while recognisers count (in chain_)
};

void deliver(UIView* hitView, CGPoint location, const TouchGesture& gesture, TouchRecord& record) {
    record.hitView = hitView;
    if (!hitView)
        return;
    objc::AutoreleasePool pool;
    Delivery(hitView, location, gesture, record).run();
}

} // namespace

void deliverGesture(UIView* view, const TouchGesture& gesture, TouchRecord& record) {
    if (!view)
        return;
    CGPoint centre = centreInRoot(view);
    if (takesTouches(view))
        return deliver(view, centre, gesture, record);
    UIView* root = view;
    while (root->superview())
        root = root->superview();
    deliverGestureAt(root, centre, gesture, record);
}

void deliverGestureAt(UIView* root, CGPoint point, const TouchGesture& gesture, TouchRecord& record) {
    deliver(root ? root->hitTest(point) : nullptr, point, gesture, record);
}
