#pragma once

#include "sim/play/Playback.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct RunOptions {
    std::vector<std::string> flows;              // flow files, or folders of them
    std::optional<std::filesystem::path> report; // the JSON report, when asked for
    std::optional<std::filesystem::path> junit;  // JUnit XML, when asked for
    std::vector<std::string> env;                // -e NAME=VALUE, over each flow's header env
    std::vector<std::string> includeTags;        // play only flows with one of these tags
    std::vector<std::string> excludeTags;        // leave out flows with one of these tags
    PlaybackOptions playback;
};

// `lexorna-sim run`: a folder stands for its *.yaml files in name order. Parses every
// flow first (a flow that does not parse stops the run before anything plays, exit status
// 2, its file, line and reason on standard error, and in the report and JUnit when they
// are asked for), then plays them in order on one device, printing one line per flow
// (flows left out by their tags too) and then the count. Exit status 0 when every flow
// held, 1 otherwise. The report's page goes beside it (report.json, report.html).
int runFlows(const RunOptions& options);

} // namespace sim
