#include "FlowRunner.h"
#include "DevicePreparation.h"
#include "DeviceSteps.h"
#include "LaunchProcess.h"

#include "device/Device.h"
#include "objc/Autorelease.h"
#include "objc/Exception.h"

namespace sim {

namespace {

std::string crashText(const objc::Exception& exception) {
    return exception.name() + ": " + exception.reason();
}

// Counts the flow's assertions and keeps the first thing that went wrong.
void tally(FlowReport& report, std::size_t number, const Step& step, const StepResult& result, bool ran) {
    if (ran && step.isAssertion())
        ++(result.ok ? report.passed : report.failed);
    if (!result.ok && !report.failure)
        report.failure = "step " + std::to_string(number) + " " + std::string(step.name()) + ": " +
                         result.error.value_or("failed");
}

} // namespace

FlowReport FlowRunner::run(const Flow& flow) {
    FlowReport report;
    report.file = flow.file;
    report.stepCount = flow.steps.size();
    if (auto prepared = prepareDevice(flow, installation_); !prepared) {
        report.error = prepared.error();
        report.failure = "device: " + prepared.error();
        return report;
    }

    const std::string home = device::containerPath(flow.app);
    for (const Segment& segment : flow.segments()) {
        if (!segment.launches) {
            for (std::size_t k = 0; k < segment.count; ++k) {
                const Step& step = flow.steps[segment.first + k];
                // The parser lets only steps that need no app come before the first launch.
                report.earlySteps.push_back(
                    playDeviceStep(step, home)
                        .value_or(StepResult::failed(std::string(step.name()), "needs a running app")));
                tally(report, segment.first + k + 1, step, report.earlySteps.back(), true);
                progress_.stepFinished();
            }
            continue;
        }
        LaunchReport launch = playLaunch(flow, segment);
        for (std::size_t k = 0; k < segment.count; ++k)
            tally(report, segment.first + k + 1, flow.steps[segment.first + k], launch.steps[k],
                  k < launch.played);
        if (auto crash = launch.crash(); crash && !report.failure)
            report.failure = "step " + std::to_string(segment.first + 1) + " " +
                             std::string(flow.steps[segment.first].name()) + ": crashed: " + *crash;
        report.launches.push_back(std::move(launch));
    }
    return report;
}

LaunchReport FlowRunner::playLaunch(const Flow& flow, const Segment& segment) {
    std::vector<StepResult> told;
    std::optional<Json> process;
    LaunchProcess child([&](MessageChannel& channel) { return playInChild(flow, segment, channel); });
    auto end = child.run([&](const Json& message) {
        if (auto step = message.find("step"); step != message.end()) {
            told.push_back(StepResult::fromJson(*step));
            progress_.stepFinished();
        } else if (auto launch = message.find("launch"); launch != message.end() && launch->is_object()) {
            process = *launch;
        }
    });

    const std::string home = device::containerPath(flow.app);
    LaunchReport launch;
    // The step that was playing when a process died without a word is the one that
    // crashed.
    bool diedInStep = false;
    if (!end) {
        launch = LaunchReport::lost(flow.app, home, "the app's process could not start: " + end.error());
    } else if (!process) {
        std::string crash =
            end->killed() ? end->description() : "ended without a report (" + end->description() + ")";
        launch = LaunchReport::lost(flow.app, home, crash);
        diedInStep = true;
    } else {
        launch.process = std::move(*process);
        if (end->killed() && !launch.crash())
            launch.process["crash"] = end->description();
    }

    for (std::size_t k = 0; k < segment.count; ++k) {
        std::string name(flow.steps[segment.first + k].name());
        if (k < told.size())
            launch.steps.push_back(std::move(told[k]));
        else if (k == told.size() && diedInStep)
            launch.steps.push_back(StepResult::failed(name, "crashed: " + launch.crash().value_or("")));
        else
            break;
    }
    launch.played = launch.steps.size();
    for (std::size_t k = launch.played; k < segment.count; ++k)
        launch.steps.push_back(StepResult::failed(std::string(flow.steps[segment.first + k].name()),
                                                  "not run (the launch had ended)"));
    return launch;
}

int FlowRunner::playInChild(const Flow& flow, const Segment& segment, MessageChannel& channel) {
    auto tell = [&](const StepResult& result) { channel.send({{"step", result.toJson()}}); };
    std::unique_ptr<LaunchSession> session = makeSession_();
    std::optional<std::string> crash;
    const Step* current = &flow.steps[segment.first];
    try {
        objc::AutoreleasePool pool;
        auto launched = session->launch(flow);
        tell(launched ? StepResult::passed(std::string(current->name()))
                      : StepResult::failed(std::string(current->name()), launched.error()));
        for (std::size_t k = 1; launched && k < segment.count; ++k) {
            // One pool per step, as the run loop drains one per event.
            objc::AutoreleasePool stepPool;
            current = &flow.steps[segment.first + k];
            tell(session->run(*current));
        }
    } catch (const objc::Exception& exception) {
        crash = crashText(exception);
        tell(StepResult::failed(std::string(current->name()), "crashed: " + *crash));
    }

    Json report;
    try {
        objc::AutoreleasePool pool;
        report = session->finish();
    } catch (const objc::Exception& exception) {
        report = LaunchReport::lost(flow.app, device::containerPath(flow.app), crashText(exception)).process;
    }
    if (crash)
        report["crash"] = *crash;
    channel.send({{"launch", report}});
    return 0;
}

} // namespace sim
