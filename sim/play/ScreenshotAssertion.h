#pragma once

#include "sim/flow/Flow.h"
#include "sim/play/LaunchSession.h"
#include "sim/report/Report.h"

class UIWindow;

namespace sim {

// assertScreenshot: the screen, or the pixels of one view's area, drawn as a screenshot
// and compared with the saved picture beside the flow. Without a saved picture, or told
// to update it, the step writes it and passes (the result names it). A difference beyond
// the tolerance fails the step and leaves NAME-expected.png, NAME-actual.png and
// NAME-diff.png in the output folder.
StepResult assertScreenshot(const Step& step, UIWindow* window, const SessionContext& context);

} // namespace sim
