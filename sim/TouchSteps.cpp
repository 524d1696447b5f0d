#include "TouchSteps.h"
#include "Selectors.h"

#include "uikit/TouchDelivery.h"
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

StepResult touch(const Step& step, UIWindow* window, const ViewSelector& target,
                 const std::optional<Point>& at, const TouchGesture& gesture) {
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
        return touch(step, window, tap->target, tap->at,
                     TouchGesture::tap(static_cast<unsigned long>(tap->taps),
                                       static_cast<unsigned long>(tap->touches)));
    const auto& press = std::get<LongPress>(step.argument);
    return touch(step, window, press.target, press.at, TouchGesture::longPress(press.duration, press.move));
}

} // namespace sim
