#include "sim/cli/DemoCommand.h"
#include "sim/cli/DemoFlows.h"
#include "sim/cli/WritableFolder.h"
#include "sim/flow/FlowParser.h"
#include "sim/play/Playback.h"
#include "sim/report/ReportPage.h"

#include <array>
#include <iostream>

namespace sim {

namespace {

// Each host's flow shows Lexorna's text in one of two ways, as the flow's MODE says.
constexpr std::array<std::string_view, 2> Modes{"inline", "panel"};

// A runFlow's file among those built in, by its name in the source tree.
support::Expected<std::string, std::string> builtInFlow(const std::string& file) {
    for (const auto& embedded : demoFlows())
        if (embedded.file == file)
            return std::string(embedded.text);
    return support::Unexpected(std::string("no such flow file among the demo's"));
}

} // namespace

int runDemo(const DemoOptions& options) {
    // The flows of examples/flows/ itself, each in both modes; its folders hold the
    // subflows they run.
    std::vector<Flow> flows;
    for (const auto& embedded : demoFlows()) {
        if (std::filesystem::path(embedded.file).parent_path() != std::filesystem::path(DemoFolder))
            continue;
        for (auto mode : Modes) {
            auto flow = parseFlow(embedded.text, std::string(embedded.file),
                                  {.variables = {{"MODE", std::string(mode)}}, .readFile = builtInFlow});
            if (!flow) {
                // The flow was built in as it is in the source tree: that file needs mending.
                std::cerr << flow.error().text() << '\n';
                return 2;
            }
            flows.push_back(std::move(*flow));
        }
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
