#pragma once

#include "Playback.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct RunOptions {
    std::vector<std::string> flows;
    std::optional<std::filesystem::path> report; // the JSON report, when asked for
    PlaybackOptions playback;
};

// `lexorna-sim run`: parses every flow first (a flow that does not parse stops the run
// before anything plays, exit status 2, its file, line and reason on standard error),
// then plays them in order on one device, printing one line per flow. Exit status 0
// when every flow held, 1 otherwise. With a report, and when any screenshot was taken,
// the report's page goes beside it (report.json, report.html).
int runFlows(const RunOptions& options);

} // namespace sim
