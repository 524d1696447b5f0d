#include "RunCommand.h"
#include "FlowParser.h"
#include "ReportPage.h"
#include "WritableFolder.h"

#include <iostream>

namespace sim {

namespace {

// report.json's page is report.html; a report that is itself called .html keeps its name.
std::filesystem::path pageBeside(const std::filesystem::path& report) {
    auto page = std::filesystem::path(report).replace_extension(".html");
    return page == report ? std::filesystem::path(report.string() + ".html") : page;
}

} // namespace

int runFlows(const RunOptions& options) {
    std::vector<Flow> flows;
    bool parsed = true;
    for (const auto& file : options.flows) {
        auto flow = parseFlowFile(file);
        if (!flow) {
            std::cerr << flow.error().text() << '\n';
            parsed = false;
            continue;
        }
        flows.push_back(std::move(*flow));
    }
    if (!parsed)
        return 2;

    if (options.report) {
        auto folder = std::filesystem::absolute(*options.report).parent_path();
        if (auto usable = makeWritableFolder(folder); !usable) {
            std::cerr << "lexorna-sim: cannot write the report to " << folder.string() << ": "
                      << usable.error() << '\n';
            return 1;
        }
    }
    auto reports = playFlows(flows, options.playback);
    if (!reports) {
        std::cerr << "lexorna-sim: " << reports.error() << '\n';
        return 1;
    }
    if (options.report) {
        auto written = writeReport(*reports, *options.report);
        if (written)
            written = writeReportPage(flows, *reports, pageBeside(*options.report),
                                      std::filesystem::absolute(options.playback.out));
        if (!written) {
            std::cerr << "lexorna-sim: " << written.error() << '\n';
            return 1;
        }
    }
    return exitStatus(*reports);
}

} // namespace sim
