#pragma once

#include "sim/flow/Flow.h"
#include "sim/report/Report.h"

class UIWindow;

namespace sim {

// Plays an assertion on what the app shows: assertVisible, assertNotVisible,
// assertPasteboard, assertPresented and assertNotPresented.
StepResult playAssertion(const Step& step, UIWindow* window);

} // namespace sim
