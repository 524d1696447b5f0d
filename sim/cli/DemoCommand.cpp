#include "sim/cli/DemoCommand.h"
#include "sim/cli/DemoFlows.h"
#include "sim/cli/WritableFolder.h"
#include "sim/flow/FlowParser.h"
#include "sim/play/Playback.h"
#include "sim/report/ReportPage.h"

#include <iostream>

namespace sim {

int runDemo(const DemoOptions& options) {
    std::vector<Flow> flows;
    for (const auto& embedded : demoFlows()) {
        auto flow = parseFlow(embedded.text, std::string(embedded.file));
        if (!flow) {
            // The flow was built in as it is in the source tree: that file needs mending.
            std::cerr << flow.error().text() << '\n';
            return 2;
        }
        flows.push_back(std::move(*flow));
    }

    const auto out = std::filesystem::absolute(options.out).lexically_normal();
    if (auto usable = makeWritableFolder(out); !usable) {
        std::cerr << "lexorna-sim: cannot write the demo to " << out.string() << ": " << usable.error()
                  << '\n';
        return 1;
    }
    auto reports =
        playFlows(flows, {.out = out, .scale = options.scale, .device = std::nullopt, .keep = false});
    if (!reports) {
        std::cerr << "lexorna-sim: " << reports.error() << '\n';
        return 1;
    }
    auto page = out / "report.html";
    auto written = writeReport(*reports, out / "report.json");
    if (written)
        written = writeReportPage(flows, *reports, page, out);
    if (!written) {
        std::cerr << "lexorna-sim: " << written.error() << '\n';
        return 1;
    }
    std::cout << "report: " << page.string() << '\n';
    return exitStatus(*reports);
}

} // namespace sim
