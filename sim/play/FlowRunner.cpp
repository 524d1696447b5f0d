#include "sim/play/FlowRunner.h"
#include "sim/play/DevicePreparation.h"
#include "sim/play/DeviceSteps.h"
#include "sim/play/LaunchProcess.h"

#include "device/Device.h"
#include "objc/Autorelease.h"
#include "objc/Exception.h"

#include <chrono>

namespace sim {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string crashText(const objc::Exception& exception) {
    return exception.name() + ": " + exception.reason();
}

// The result with the step it belongs to, as the flow file says it.
StepResult& identify(StepResult& result, const Step& step) {
    result.index = step.index;
    result.file = step.file;
    result.line = step.line;
    result.text = step.description();
    return result;
}

// Counts the flow's assertions and keeps the first thing that went wrong, where the flow
// file (or subflow) says it: "flows/x.yaml:12: assertVisible: {text: Hi}: no view matches".
void tally(FlowReport& report, const Step& step, const StepResult& result) {
    if (result.skipped)
        return;
    if (step.isAssertion())
        ++(result.ok ? report.passed : report.failed);
    if (!result.ok && !report.failure)
        report.failure = step.where() + ": " + step.description() + ": " + result.error.value_or("failed");
}

// Steps after the first failure are not played.
LaunchReport skippedLaunch(const Flow& flow, const Segment& segment) {
    LaunchReport launch = LaunchReport::lost(flow.app, device::containerPath(flow.app), "");
    launch.process["crash"] = nullptr;
    launch.process["skipped"] = true;
    for (std::size_t k = 0; k < segment.count; ++k) {
        const Step& step = flow.steps[segment.first + k];
        StepResult skipped = StepResult::skippedAfterFailure(std::string(step.name()));
        launch.steps.push_back(identify(skipped, step));
    }
    return launch;
}

} // namespace

FlowReport FlowRunner::run(const Flow& flow) {
    FlowReport report = FlowReport::about(flow);
    if (auto prepared = prepareDevice(flow, installation_, keptDevice_); !prepared) {
        report.error = prepared.error();
        report.failure = flow.name() + ": device: " + prepared.error();
        return report;
    }

    const std::string home = device::containerPath(flow.app);
    for (const Segment& segment : flow.segments()) {
        if (!segment.launches) {
            for (std::size_t k = 0; k < segment.count; ++k) {
                const Step& step = flow.steps[segment.first + k];
                StepResult result = StepResult::skippedAfterFailure(std::string(step.name()));
                if (!report.failure) {
                    auto started = std::chrono::steady_clock::now();
                    // The parser lets only steps that need no app come before the first launch.
                    result =
                        playDeviceStep(step, home)
                            .value_or(StepResult::failed(std::string(step.name()), "needs a running app"));
                    result.seconds = secondsSince(started);
                }
                report.earlySteps.push_back(std::move(identify(result, step)));
                tally(report, step, report.earlySteps.back());
                progress_.stepFinished();
            }
            continue;
        }
        if (report.failure) {
            report.launches.push_back(skippedLaunch(flow, segment));
            for (std::size_t k = 0; k < segment.count; ++k)
                progress_.stepFinished();
            continue;
        }
        LaunchReport launch = playLaunch(flow, segment);
        for (const StepResult& result : launch.steps)
            tally(report, flow.steps[result.index], result);
        if (auto crash = launch.crash(); crash && !report.failure)
            report.failure = flow.steps[segment.first].where() + ": " + flow.steps[segment.first].description() +
                             ": crashed: " + *crash;
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
            if (told.back().wrote)
                progress_.result("wrote " + *told.back().wrote + " (" + told.back().text + ")");
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

    // The child tells the steps it played, each with its index, line and text; a result
    // that names no step of this launch is not the launch's. The step it died in, if any,
    // comes next, and what follows was skipped.
    for (StepResult& result : told)
        if (result.index == segment.first + launch.steps.size())
            launch.steps.push_back(std::move(result));
    if (diedInStep && launch.steps.size() < segment.count) {
        const Step& step = flow.steps[segment.first + launch.steps.size()];
        StepResult died =
            StepResult::failed(std::string(step.name()), "crashed: " + launch.crash().value_or(""));
        launch.steps.push_back(identify(died, step));
    }
    launch.played = launch.steps.size();
    for (std::size_t k = launch.played; k < segment.count; ++k) {
        const Step& step = flow.steps[segment.first + k];
        StepResult skipped = StepResult::skippedAfterFailure(std::string(step.name()));
        launch.steps.push_back(identify(skipped, step));
    }
    return launch;
}

int FlowRunner::playInChild(const Flow& flow, const Segment& segment, MessageChannel& channel) {
    std::unique_ptr<LaunchSession> session = makeSession_();
    std::optional<std::string> crash;
    const Step* current = &flow.steps[segment.first];
    auto started = std::chrono::steady_clock::now();
    // Tells the parent how the current step went; a failure ends the launch's steps, with
    // a picture of the screen as it was.
    auto tell = [&](StepResult result) {
        result.seconds = secondsSince(started);
        identify(result, *current);
        if (!result.ok)
            result.screenshot = session->screenshotAtFailure(*current);
        channel.send({{"step", result.toJson()}});
        return result.ok;
    };
    try {
        objc::AutoreleasePool pool;
        auto launched = session->launch(flow);
        bool going = tell(launched ? StepResult::passed(std::string(current->name()))
                                   : StepResult::failed(std::string(current->name()), launched.error()));
        for (std::size_t k = 1; going && k < segment.count; ++k) {
            // One pool per step, as the run loop drains one per event.
            objc::AutoreleasePool stepPool;
            current = &flow.steps[segment.first + k];
            started = std::chrono::steady_clock::now();
            going = tell(session->run(*current));
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
