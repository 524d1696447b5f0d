#pragma once

#include "TemporaryFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <sys/wait.h>

using Json = nlohmann::ordered_json;

// What one lexorna-sim command printed, how it ended, and the report it wrote.
struct Simulated {
    int status = -1;
    std::string out;
    std::string err;
    Json report;

    const Json& flow(std::size_t index = 0) const { return report.at("flows").at(index); }
    const Json& launch(std::size_t index = 0) const { return flow().at("launches").at(index); }
    // The snapshot that a `dump` step of this label took in the first launch.
    const Json& snapshot(const std::string& label) const {
        for (const auto& taken : launch()["snapshots"])
            if (taken["label"] == label)
                return taken;
        throw std::runtime_error("no snapshot " + label);
    }
};

// lexorna-sim as a person runs it, from a folder of the test's own: relative paths, the
// default output folder and a failure's screenshots all lie there. Every launch of an app
// is a process of its own.
class Simulator {
public:
    const TemporaryFolder& folder() const { return folder_; }

    Simulated run(const std::string& arguments) const {
        std::string command = "cd " + folder_.path().string() + " && " + LEXORNA_SIM + " " + arguments +
                              " >stdout.txt 2>stderr.txt";
        int raw = std::system(command.c_str());
        Simulated done{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, folder_.read("stdout.txt"),
                       folder_.read("stderr.txt"), Json()};
        done.report = Json::parse(folder_.read("report.json"), nullptr, false);
        return done;
    }

    // Plays flow files (paths, separated by spaces) with their report in report.json.
    Simulated runFlows(const std::string& files, const std::string& arguments = "") const {
        return run("run " + files + " --report report.json " + arguments);
    }

    // Plays one flow written as `yaml`, from flow.yaml.
    Simulated play(const std::string& yaml, const std::string& arguments = "") const {
        return runFlows(folder_.write("flow.yaml", yaml).string(), arguments);
    }

private:
    TemporaryFolder folder_;
};
