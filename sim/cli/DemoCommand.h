#pragma once

#include <filesystem>

namespace sim {

struct DemoOptions {
    std::filesystem::path out = "lexorna-demo"; // screenshots, report.json and report.html
    double scale = 2;                           // screenshot pixels per point
};

// `lexorna-sim demo`: plays the flows built into the simulator (every host in both
// modes) on a fresh device, as `run` plays flow files, with their screenshots, the
// report and its page in the output folder. Prints one line per flow, then where the
// page is. Exit status 0 when every flow held, 1 otherwise.
int runDemo(const DemoOptions& options);

} // namespace sim
