#include "sim/play/TouchSteps.h"
#include "sim/play/PresentedControllers.h"
#include "sim/play/Selectors.h"

#include "uikit/TouchDelivery.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

#include <sstream>

namespace sim {

namespace {

std::string pointText(Point point) {
    std::ostringstream out;
    out << '[' << point.x << ", " << point.y << ']';
    return out.str();
}

Json firedJson(const FiredAction& fired) {
    return {{"recognizer", fired.recognizer ? Json(*fired.recognizer) : Json()},
            {"target", fired.target},
            {"action", fired.action},
            {"state", fired.state ? Json(*fired.state) : Json()}};
}

bool isInside(const UIView* view, const UIView* ancestor) {
    for (; view; view = view->superview())
        if (view == ancestor)
            return true;
    return false;
}

// What lies over the view at its centre, where a finger would land, when that is neither
// the view nor inside it (a presented controller, an alert, a sibling drawn above): the
// outermost such view. Nothing when the view is reachable there.
UIView* coverOf(UIView* view, UIWindow* window) {
    CGRect frame = view->frameInWindow();
    UIView* hit =
        window->hitTest({frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2});
    // An ancestor answering means the view takes no touches of its own there.
    if (!hit || isInside(hit, view) || isInside(view, hit))
        return nullptr;
    UIView* cover = hit;
    while (cover->superview() && !isInside(view, cover->superview()))
        cover = cover->superview();
    return cover;
}

std::string coverText(UIView* cover, UIWindow* window) {
    for (UIViewController* presented : presentedControllers(window))
        if (presented->isViewLoaded() && (presented->view() == cover || presented->sheetContainer() == cover))
            return "the presented " + std::string(class_getName(object_getClass(presented)));
    return viewDescription(cover);
}

StepResult touch(const Step& step, UIWindow* window, const ViewSelector& target,
                 const std::optional<Point>& at, bool force, const TouchGesture& gesture) {
    std::string name(step.name());
    auto view = findShownView(window, target);
    if (!view)
        return StepResult::failed(name, view.error());

    TouchRecord record;
    if (at) {
        CGRect frame = (*view)->frameInWindow();
        CGPoint point{frame.origin.x + at->x, frame.origin.y + at->y};
        deliverGestureAt(window, point, gesture, record);
        if (!record.hitView)
            return StepResult::failed(name, "the point " + pointText(*at) + " of " + target.description() +
                                                " lies off the screen");
    } else {
        if (UIView* cover = force ? nullptr : coverOf(*view, window))
            return StepResult::failed(name, target.description() + " is covered by " +
                                                coverText(cover, window) +
                                                ", which a finger would touch instead");
        deliverGesture(*view, gesture, record);
    }
    StepResult result = StepResult::passed(name);
    for (const auto& fired : record.fired)
        result.fired.push_back(firedJson(fired));
    return result;
}

} // namespace

StepResult playTouchStep(const Step& step, UIWindow* window) {
    if (const auto* tap = std::get_if<Tap>(&step.argument))
        return touch(step, window, tap->target, tap->at, tap->force,
                     TouchGesture::tap(static_cast<unsigned long>(tap->taps),
                                       static_cast<unsigned long>(tap->touches)));
    const auto& press = std::get<LongPress>(step.argument);
    return touch(step, window, press.target, press.at, press.force,
                 TouchGesture::longPress(press.duration, press.move));
}

} // namespace sim
