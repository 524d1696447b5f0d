#include "RunCommand.h"
#include "DeviceFolder.h"
#include "FlowParser.h"
#include "FlowRunner.h"

#include "device/Device.h"

#include <iostream>

namespace sim {

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

    auto device = DeviceFolder::open(options.device, options.keep);
    if (!device) {
        std::cerr << "lexorna-sim: " << device.error() << '\n';
        return 1;
    }
    device::Device::setRoot(device->path());

    SessionContext context{device->path(), std::filesystem::absolute(options.out)};
    auto makeSession = [context] { return std::make_unique<LaunchSession>(context); };
    Progress progress = Progress::onStandardOutput();
    FlowRunner runner(makeSession, Installation::besideSimulator(), progress);

    std::vector<FlowReport> reports;
    bool allHeld = true;
    for (std::size_t i = 0; i < flows.size(); ++i) {
        progress.flowStarted(flows[i].file, i, flows.size(), flows[i].steps.size());
        reports.push_back(runner.run(flows[i]));
        progress.result(reports.back().summary());
        allHeld = allHeld && reports.back().ok();
    }

    if (options.report) {
        if (auto written = writeReport(reports, *options.report); !written) {
            std::cerr << "lexorna-sim: " << written.error() << '\n';
            return 1;
        }
    }
    if (device->keptTemporary())
        std::cerr << "device kept at " << device->path().string() << '\n';
    return allHeld ? 0 : 1;
}

} // namespace sim
