#pragma once

#include "sim/flow/Flow.h"
#include "sim/report/Report.h"

#include <optional>
#include <string>

namespace sim {

// The steps that need the device's disk and no app (setSettings, assertFile). They
// play the same in the simulator before the first launch and inside a launched app.
// `home` is the app's home directory, which `~` in a path stands for. Nothing for a
// step of another kind.
std::optional<StepResult> playDeviceStep(const Step& step, const std::string& home);

// A flow's device path with a leading `~` standing for the app's home directory.
std::string devicePathIn(const std::string& path, const std::string& home);

} // namespace sim
