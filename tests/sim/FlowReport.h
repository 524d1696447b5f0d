#pragma once

#include "TemporaryFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <sys/wait.h>

// Runs one flow through lexorna-sim, each launch in a process of its own, and answers its
// report.
struct FlowOutcome {
    int status = -1;
    nlohmann::json report;

    const nlohmann::json& flow() const { return report.at("flows").at(0); }
    const nlohmann::json& launch(std::size_t index = 0) const { return flow().at("launches").at(index); }
};

inline FlowOutcome runFlow(const std::string& flowPath, const std::string& extraArguments = "") {
    TemporaryFolder temp;
    auto report = temp.path() / "report.json";
    std::string command = std::string(LEXORNA_SIM) + " run " + flowPath + " --report " + report.string() +
                          " --out " + (temp.path() / "out").string() + " " + extraArguments +
                          " >/dev/null 2>&1";
    int raw = std::system(command.c_str());
    FlowOutcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::string text = temp.read("report.json");
    if (!text.empty())
        outcome.report = nlohmann::json::parse(text);
    return outcome;
}

inline std::string testFlow(const std::string& relativePath) {
    return std::string(LEXORNA_TEST_FLOWS) + "/" + relativePath;
}
