#pragma once

#include "device/Expected.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// Reports keep their keys in the order a reader expects them.
using Json = nlohmann::ordered_json;

// How one step went.
struct StepResult {
    std::string step; // its name, "tapOn"
    bool ok = true;
    std::optional<std::string> error;
    Json fired = Json::array(); // the recognisers a touch made fire, with their actions

    static StepResult passed(std::string step) {
        return {std::move(step), true, std::nullopt, Json::array()};
    }
    static StepResult failed(std::string step, std::string error) {
        return {std::move(step), false, std::move(error), Json::array()};
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
    std::optional<std::string> error;   // the device could not be prepared
    std::vector<StepResult> earlySteps; // steps played before the first launch
    std::vector<LaunchReport> launches;
    int passed = 0; // assertions that held
    int failed = 0; // assertions that did not
    std::size_t stepCount = 0;
    std::optional<std::string> failure; // the first thing that went wrong, for the summary line

    bool ok() const { return !failure; }
    Json toJson() const;
    // "ok   flows/x.yaml (9 steps)" or "FAIL flows/x.yaml: step 4 assertVisible: ..."
    std::string summary() const;
};

Json reportJson(const std::vector<FlowReport>& flows);
device::Expected<void, std::string> writeReport(const std::vector<FlowReport>& flows,
                                                const std::filesystem::path& file);

// JSON text that survives any bytes an app may have logged: invalid UTF-8 is replaced.
std::string jsonText(const Json& json, int indent = -1);

} // namespace sim
