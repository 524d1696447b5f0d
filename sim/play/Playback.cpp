#include "sim/play/Playback.h"
#include "sim/cli/WritableFolder.h"
#include "sim/play/AppSession.h"
#include "sim/play/DeviceFolder.h"
#include "sim/play/FlowRunner.h"

#include "device/Device.h"

#include <algorithm>
#include <iostream>

namespace sim {

namespace {

bool takesScreenshots(const std::vector<Flow>& flows) {
    return std::ranges::any_of(flows, [](const Flow& flow) {
        return std::ranges::any_of(flow.steps,
                                   [](const Step& step) { return step.kind == StepKind::TakeScreenshot; });
    });
}

} // namespace

support::Expected<std::vector<FlowReport>, std::string> playFlows(const std::vector<Flow>& flows,
                                                                  const PlaybackOptions& options) {
    const auto out = std::filesystem::absolute(options.out);
    // Found out now rather than at each flow's first screenshot, minutes into a run.
    if (takesScreenshots(flows)) {
        if (auto usable = makeWritableFolder(out); !usable)
            return support::Unexpected("cannot write screenshots to " + out.string() + ": " + usable.error());
    }
    auto device = DeviceFolder::open(options.device, options.keep);
    if (!device)
        return support::Unexpected(device.error());
    device::Device::setRoot(device->path());

    SessionContext context{device->path(), out, options.scale, options.updateScreenshots};
    auto makeSession = [context] { return std::make_unique<AppSession>(context); };
    Progress progress = Progress::onStandardOutput();
    FlowRunner runner(makeSession, Installation::besideSimulator(), progress, options.device.has_value());

    std::vector<FlowReport> reports;
    for (std::size_t i = 0; i < flows.size(); ++i) {
        if (flows[i].skip) {
            reports.push_back(FlowReport::left(flows[i], *flows[i].skip));
        } else {
            progress.flowStarted(flows[i].name(), i, flows.size(), flows[i].steps.size());
            reports.push_back(runner.run(flows[i]));
        }
        progress.result(reports.back().summary());
    }
    // A flow left out counts neither way.
    auto skipped = std::ranges::count_if(reports, [](const FlowReport& report) { return !report.played(); });
    auto failed = std::ranges::count_if(reports, [](const FlowReport& report) { return !report.ok(); });
    progress.result(std::to_string(reports.size() - skipped - failed) + " passed, " + std::to_string(failed) +
                    " failed" + (skipped ? ", " + std::to_string(skipped) + " skipped" : ""));
    if (device->keptTemporary())
        std::cerr << "device kept at " << device->path().string() << '\n';
    return reports;
}

int exitStatus(const std::vector<FlowReport>& reports) {
    return std::ranges::all_of(reports, &FlowReport::ok) ? 0 : 1;
}

} // namespace sim
