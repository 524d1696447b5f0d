#pragma once

#include "sim/flow/Flow.h"

#include "support/Expected.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// Reports keep their keys in the order a reader expects them.
using Json = nlohmann::ordered_json;

// The pictures of a screenshot comparison that failed, by their names in the output
// folder: the saved picture, the screen, and the screen with what differs in red (none
// when the sizes differ).
struct ComparedPictures {
    std::string expected;
    std::string actual;
    std::optional<std::string> diff;
};

// How one step went. A step after the flow's first failure is skipped: not played.
struct StepResult {
    std::string step; // its name, "tapOn"
    bool ok = true;
    std::optional<std::string> error;
    Json fired = Json::array(); // the recognisers a touch made fire, with their actions
    // Which step of the flow this is, carried with the result from the process that
    // played it: its index among the flow's steps, its line in the flow file and the step
    // as written.
    std::size_t index = 0;
    std::size_t line = 0;
    std::string text;
    std::string file; // where the step is written: the flow's file or a subflow's
    double seconds = 0;                    // how long it took to play
    bool skipped = false;                  // not played: an earlier step failed
    std::optional<std::string> screenshot; // taken at the failure, in the output folder
    std::optional<std::string> wrote;      // the saved picture an assertScreenshot wrote
    std::optional<ComparedPictures> pictures;

    static StepResult passed(std::string step) {
        StepResult result;
        result.step = std::move(step);
        return result;
    }
    static StepResult failed(std::string step, std::string error) {
        StepResult result;
        result.step = std::move(step);
        result.ok = false;
        result.error = std::move(error);
        return result;
    }
    static StepResult skippedAfterFailure(std::string step) {
        StepResult result;
        result.step = std::move(step);
        result.ok = false;
        result.skipped = true;
        return result;
    }

    Json toJson() const;
    static StepResult fromJson(const Json& json);
};

// One launch of the app: one process. `process` holds what the process told of itself
// (bundleId, home, loaded, runtime, fileOpens, log, crash, snapshots).
struct LaunchReport {
    Json process = Json::object();
    std::vector<StepResult> steps; // one per step of the launch's segment
    std::size_t played = 0;        // the steps that played; the rest were not run

    // A launch whose process ended without telling anything: what the simulator knows.
    static LaunchReport lost(const std::string& bundleId, const std::string& home, std::string crash);
    std::optional<std::string> crash() const;
    Json toJson() const;
};

struct FlowReport {
    std::string file;
    std::map<std::string, std::string> env; // variables given from outside (-e NAME=VALUE)
    std::optional<std::string> skipped;     // not played, and why (its tags, another flow's error)
    std::vector<std::string> warnings;      // what the flow gives that a phone would not hold
    std::optional<std::string> error;       // the flow does not parse, or the device could not be prepared
    std::vector<StepResult> earlySteps; // steps played before the first launch
    std::vector<LaunchReport> launches;
    int passed = 0; // assertions that held
    int failed = 0; // assertions that did not
    std::size_t stepCount = 0;
    std::optional<std::string> failure; // the first thing that went wrong, from the file name on

    // The report of a flow about to play: its name, variables and warnings.
    static FlowReport about(const Flow& flow);
    // A flow left out of the run, and why.
    static FlowReport left(const Flow& flow, std::string why);
    // A flow file that does not parse: a failure of its own, where the reader stopped.
    static FlowReport unreadable(std::string file, std::string error);

    bool ok() const { return !failure; }
    bool played() const { return !skipped; }
    // As results name the flow: "flows/x.yaml", or "flows/x.yaml -e MODE=panel".
    std::string name() const;
    Json toJson() const;
    // "ok   flows/x.yaml (9 steps)", "FAIL flows/x.yaml:12: assertVisible: \"Hi\": ..." or
    // "skip flows/x.yaml: ..."
    std::string summary() const;
};

Json reportJson(const std::vector<FlowReport>& flows);
support::Expected<void, std::string> writeReport(const std::vector<FlowReport>& flows,
                                                 const std::filesystem::path& file);

// JSON text that survives any bytes an app may have logged: invalid UTF-8 is replaced.
std::string jsonText(const Json& json, int indent = -1);

} // namespace sim
