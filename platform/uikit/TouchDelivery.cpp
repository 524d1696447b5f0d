#include "TouchDelivery.h"
#include "UIControl.h"
#include "UILongPressGestureRecognizer.h"
#include "UITapGestureRecognizer.h"
#include "UITouch.h"

#include <algorithm>

using objc::Ref;

namespace {

using State = UIGestureRecognizerState;

struct Candidate {
    Ref<UIGestureRecognizer> recognizer;
    UIView* view; // the view the recogniser was on when the touch began (kept by the chain)
    bool begun = false;
    bool done = false;
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
    SEL sel = sel_registerName(selector);
    if (!delegate || !class_respondsToSelector(delegate->isa(), sel))
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

bool matches(UIGestureRecognizer* recognizer, const TouchGesture& gesture) {
    if (recognizer->numberOfTouchesRequired() != gesture.touches)
        return false;
    switch (gesture.kind) {
    case TouchGesture::Kind::Tap:
        if (auto* tap = objc::dynCast<UITapGestureRecognizer>(recognizer))
            return tap->numberOfTapsRequired() == gesture.taps;
        return false;
    case TouchGesture::Kind::LongPress:
        if (auto* press = objc::dynCast<UILongPressGestureRecognizer>(recognizer))
            return gesture.duration >= press->minimumPressDuration();
        return false;
    }
    return false;
}

std::string classOf(id object) {
    return object->isa()->name;
}

class Delivery {
public:
    Delivery(UIView* hitView, CGPoint location, const TouchGesture& gesture, TouchRecord& record)
        : gesture_(gesture), record_(record) {
        for (UIView* view = hitView; view; view = view->superview())
            chain_.emplace_back(view);
        touch_ = UITouch::make(hitView, location, gesture.taps);
    }

    void run() {
        collectCandidates();
        if (UIControl* control = chooseWinners())
            fireControl(control);
        else if (gesture_.kind == TouchGesture::Kind::Tap)
            fireStep(State::Ended);
        else
            fireLongPress();
        for (auto* winner : winners_)
            winner->recognizer->setState(State::Possible);
    }

private:
    void collectCandidates() {
        for (const auto& view : chain_) {
            const auto& recognizers = view->gestureRecognizers();
            for (auto it = recognizers.rbegin(); it != recognizers.rend(); ++it)
                if ((*it)->isEnabled())
                    candidates_.push_back({*it, view.get()});
        }
        // Asked of every candidate before any of them recognises, as at touch down.
        std::erase_if(candidates_,
                      [&](const Candidate& c) { return !shouldReceiveTouch(c.recognizer, touch_); });
    }

    // Picks the winning recognisers; answers the control that takes the touch instead
    // of its ancestors' recognisers, if any.
    UIControl* chooseWinners() {
        bool singleTap =
            gesture_.kind == TouchGesture::Kind::Tap && gesture_.taps == 1 && gesture_.touches == 1;
        auto next = candidates_.begin();
        for (const auto& view : chain_) {
            for (; next != candidates_.end() && next->view == view.get(); ++next)
                consider(*next);
            auto* control = objc::dynCast<UIControl>(view.get());
            if (singleTap && control && control->isEnabled() && winners_.empty())
                return control;
        }
        return nullptr;
    }

    void consider(Candidate& candidate) {
        UIGestureRecognizer* recognizer = candidate.recognizer;
        if (!matches(recognizer, gesture_))
            return;
        bool allowed = std::all_of(winners_.begin(), winners_.end(), [&](const Candidate* winner) {
            return mayRecognizeTogether(winner->recognizer, recognizer);
        });
        if (allowed && shouldBegin(recognizer))
            winners_.push_back(&candidate);
    }

    // A recogniser stays in the gesture while it is on the view it began on and that
    // view is still in the tree the touch landed in.
    bool stillAttached(const Candidate& candidate) const {
        return candidate.recognizer->view() == candidate.view &&
               candidate.view->isDescendantOf(chain_.back());
    }

    void fireLongPress() {
        fireStep(State::Began);
        if (gesture_.moved)
            fireStep(State::Changed);
        fireStep(State::Ended);
    }

    void fireStep(State state) {
        for (auto* winner : winners_) {
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

    void callAction(Candidate& candidate, State state) {
        UIGestureRecognizer* recognizer = candidate.recognizer;
        recognizer->setState(state);
        Ref<objc::Object> target = recognizer->target();
        if (!target || !recognizer->action())
            return;
        record_.fired.push_back({classOf(recognizer), classOf(target), sel_getName(recognizer->action()),
                                 static_cast<long>(state)});
        recognizer->sendAction();
    }

    void fireControl(UIControl* control) {
        std::vector<Ref<objc::Object>> targets;
        for (const auto& entry : control->targetActions()) {
            if (!(entry.events & UIControlEventTouchUpInside) || !entry.target)
                continue;
            targets.emplace_back(entry.target); // kept alive while the control sends
            record_.fired.push_back(
                {std::nullopt, classOf(entry.target), sel_getName(entry.action), std::nullopt});
        }
        control->sendActionsForControlEvents(UIControlEventTouchUpInside);
    }

    const TouchGesture& gesture_;
    TouchRecord& record_;
    std::vector<Ref<UIView>> chain_; // the hit view, then its ancestors up to the root
    Ref<UITouch> touch_;
    std::vector<Candidate> candidates_;
    std::vector<Candidate*> winners_; // into candidates_, in candidate order
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
