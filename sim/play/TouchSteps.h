#pragma once

#include "sim/flow/Flow.h"
#include "sim/report/Report.h"

class UIWindow;

namespace sim {

// Plays a touch step (tapOn, doubleTapOn, longPressOn) in the window. On a selector the
// finger lands on the view itself; with `at` on that point of it, hit-tested from the
// window, so that what lies in front (a presented controller's view) takes the touch.
// The result's `fired` lists the actions the gesture called.
StepResult playTouchStep(const Step& step, UIWindow* window);

} // namespace sim
