#pragma once

#include "sim/flow/Flow.h"
#include "sim/report/Report.h"

#include "support/Expected.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// How `run` and `demo` play their flows.
struct PlaybackOptions {
    std::filesystem::path out = ".";             // where screenshots go
    double scale = 2;                            // screenshot pixels per point
    std::optional<std::filesystem::path> device; // a device kept between runs
    bool keep = false;                           // keep the temporary device
    bool updateScreenshots = false;              // write the saved pictures anew instead of comparing
};

// Plays parsed flows in order on one device, the named one or a fresh temporary one,
// printing one result line per flow (and progress on a terminal). An error, before
// anything plays, when the device or the screenshot folder cannot be used.
support::Expected<std::vector<FlowReport>, std::string> playFlows(const std::vector<Flow>& flows,
                                                                  const PlaybackOptions& options);

// The exit status of a run whose flows were played: 0 when every flow held, 1 otherwise.
int exitStatus(const std::vector<FlowReport>& reports);

} // namespace sim
