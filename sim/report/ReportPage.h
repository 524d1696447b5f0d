#pragma once

#include "sim/flow/Flow.h"
#include "sim/report/Report.h"

#include "support/Expected.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

// The report as one page a person opens in a browser, with no server and no scripts:
// per flow its file, whether it held, its assertions, and per launch each step (as the
// flow says it, whether it held, why not, what fired) with the screenshots it took
// shown where they were taken, then the launch's crash, log and runtime calls. Flows and
// reports go in pairs, in the order they played.

// The page's HTML; `screenshots` is the folder of the PNG files as seen from the page.
std::string reportPage(const std::vector<Flow>& flows, const std::vector<FlowReport>& reports,
                       const std::filesystem::path& screenshots);

// Writes the page to `file`, pointing at the screenshots in `screenshotFolder` by a
// relative path, so that the page and its pictures can be moved together.
support::Expected<void, std::string> writeReportPage(const std::vector<Flow>& flows,
                                                     const std::vector<FlowReport>& reports,
                                                     const std::filesystem::path& file,
                                                     const std::filesystem::path& screenshotFolder);

} // namespace sim
