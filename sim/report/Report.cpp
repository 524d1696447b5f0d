#include "sim/report/Report.h"
#include "sim/report/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace sim {

Json StepResult::toJson() const {
    Json json = {{"step", step}, {"index", index}, {"file", file}, {"line", line}, {"text", text}, {"ok", ok}};
    if (skipped)
        json["skipped"] = true;
    if (error)
        json["error"] = *error;
    json["seconds"] = seconds;
    if (screenshot)
        json["screenshot"] = *screenshot;
    if (wrote)
        json["wrote"] = *wrote;
    if (pictures)
        json["pictures"] = {{"expected", pictures->expected},
                            {"actual", pictures->actual},
                            {"diff", pictures->diff ? Json(*pictures->diff) : Json()}};
    json["fired"] = fired;
    return json;
}

StepResult StepResult::fromJson(const Json& json) {
    StepResult result;
    result.step = json.value("step", "");
    result.ok = json.value("ok", false);
    if (auto it = json.find("error"); it != json.end() && it->is_string())
        result.error = it->get<std::string>();
    if (auto it = json.find("fired"); it != json.end() && it->is_array())
        result.fired = *it;
    result.index = json.value("index", std::size_t{0});
    result.file = json.value("file", "");
    result.line = json.value("line", std::size_t{0});
    result.text = json.value("text", "");
    result.seconds = json.value("seconds", 0.0);
    result.skipped = json.value("skipped", false);
    if (auto it = json.find("screenshot"); it != json.end() && it->is_string())
        result.screenshot = it->get<std::string>();
    if (auto it = json.find("wrote"); it != json.end() && it->is_string())
        result.wrote = it->get<std::string>();
    if (auto it = json.find("pictures"); it != json.end() && it->is_object()) {
        const Json& diff = it->value("diff", Json());
        result.pictures = ComparedPictures{it->value("expected", ""), it->value("actual", ""),
                                           diff.is_string() ? std::optional(diff.get<std::string>()) : std::nullopt};
    }
    return result;
}

LaunchReport LaunchReport::lost(const std::string& bundleId, const std::string& home, std::string crash) {
    LaunchReport launch;
    launch.process = {{"bundleId", bundleId},        {"home", home},
                      {"loaded", Json::array()},     {"runtime", Json::array()},
                      {"fileOpens", Json::object()}, {"log", Json::array()},
                      {"crash", std::move(crash)},   {"snapshots", Json::array()}};
    return launch;
}

std::optional<std::string> LaunchReport::crash() const {
    auto it = process.find("crash");
    if (it == process.end() || !it->is_string())
        return std::nullopt;
    return it->get<std::string>();
}

Json LaunchReport::toJson() const {
    // The steps go between what the process told of itself and its snapshots.
    Json json = Json::object();
    for (const char* key : {"bundleId", "home", "loaded", "runtime", "fileOpens", "log", "crash"})
        json[key] = process.contains(key) ? process[key] : Json();
    json["steps"] = Json::array();
    for (const auto& step : steps)
        json["steps"].push_back(step.toJson());
    json["snapshots"] = process.contains("snapshots") ? process["snapshots"] : Json::array();
    return json;
}

FlowReport FlowReport::about(const Flow& flow) {
    FlowReport report;
    report.file = flow.file;
    report.env = flow.givenEnv;
    report.warnings = flow.warnings;
    report.stepCount = flow.steps.size();
    return report;
}

FlowReport FlowReport::left(const Flow& flow, std::string why) {
    FlowReport report = about(flow);
    report.skipped = std::move(why);
    return report;
}

FlowReport FlowReport::unreadable(std::string file, std::string error) {
    FlowReport report;
    report.file = std::move(file);
    report.failure = error;
    report.error = std::move(error);
    return report;
}

std::string FlowReport::name() const {
    return flowName(file, env);
}

Json FlowReport::toJson() const {
    Json json = {{"file", file}};
    if (!env.empty())
        json["env"] = env;
    json["ok"] = ok();
    if (skipped)
        json["skipped"] = *skipped;
    json["warnings"] = warnings;
    if (error)
        json["error"] = *error;
    json["assertions"] = {{"passed", passed}, {"failed", failed}};
    if (!earlySteps.empty()) {
        json["steps"] = Json::array();
        for (const auto& step : earlySteps)
            json["steps"].push_back(step.toJson());
    }
    json["launches"] = Json::array();
    for (const auto& launch : launches)
        json["launches"].push_back(launch.toJson());
    return json;
}

std::string FlowReport::summary() const {
    if (skipped)
        return "skip " + name() + ": " + *skipped;
    // A failure names where it happened; the flow too, when that is not the flow's own file
    // (a subflow) or the flow had variables given.
    if (failure)
        return "FAIL " + (failure->starts_with(name() + ":") ? *failure : name() + ": " + *failure);
    return "ok   " + name() + " (" + std::to_string(stepCount) + (stepCount == 1 ? " step)" : " steps)");
}

Json reportJson(const std::vector<FlowReport>& flows) {
    Json json = {{"flows", Json::array()}};
    for (const auto& flow : flows)
        json["flows"].push_back(flow.toJson());
    return json;
}

std::string jsonText(const Json& json, int indent) {
    return json.dump(indent, ' ', false, Json::error_handler_t::replace);
}

support::Expected<void, std::string> writeReport(const std::vector<FlowReport>& flows,
                                                 const std::filesystem::path& file) {
    return writeOutputFile(file, jsonText(reportJson(flows), 2) + '\n');
}

} // namespace sim
