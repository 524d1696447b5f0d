#include "sim/cli/RunCommand.h"
#include "sim/cli/WritableFolder.h"
#include "sim/flow/FlowParser.h"
#include "sim/report/JunitReport.h"
#include "sim/report/ReportPage.h"

#include <algorithm>
#include <iostream>
#include <map>

namespace sim {

namespace {

// report.json's page is report.html; a report that is itself called .html keeps its name.
std::filesystem::path pageBeside(const std::filesystem::path& report) {
    auto page = std::filesystem::path(report).replace_extension(".html");
    return page == report ? std::filesystem::path(report.string() + ".html") : page;
}

// The flow files named: a folder's *.yaml in name order, not its subfolders.
std::vector<std::string> flowFiles(const std::vector<std::string>& named) {
    std::vector<std::string> files;
    for (const auto& name : named) {
        std::error_code error;
        if (!std::filesystem::is_directory(name, error)) {
            files.push_back(name);
            continue;
        }
        std::vector<std::string> inFolder;
        for (const auto& entry : std::filesystem::directory_iterator(name, error))
            if (entry.path().extension() == ".yaml" && entry.is_regular_file(error))
                inFolder.push_back((std::filesystem::path(name) / entry.path().filename()).string());
        std::sort(inFolder.begin(), inFolder.end());
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return files;
}

// Two screenshots of one name in a run would leave only the last picture: found before
// anything plays.
std::optional<std::string> sameScreenshotTwice(const std::vector<Flow>& flows) {
    std::map<std::string, std::string> taken; // name -> where
    for (const auto& flow : flows)
        for (const auto& step : flow.steps) {
            if (step.kind != StepKind::TakeScreenshot)
                continue;
            std::string where = flow.file + ":" + std::to_string(step.line);
            auto [first, added] = taken.emplace(step.text(), where);
            if (!added)
                return where + ": takeScreenshot: `" + step.text() + "` is taken already at " +
                       first->second + " (each screenshot of a run needs a name of its own)";
        }
    return std::nullopt;
}

} // namespace

int runFlows(const RunOptions& options) {
    std::vector<Flow> flows;
    bool parsed = true;
    const auto files = flowFiles(options.flows);
    if (files.empty()) {
        std::cerr << "lexorna-sim: no flow files (*.yaml) in " << options.flows.front() << '\n';
        return 2;
    }
    for (const auto& file : files) {
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
    if (auto twice = sameScreenshotTwice(flows)) {
        std::cerr << *twice << '\n';
        return 2;
    }

    for (const auto& file : {options.report, options.junit}) {
        if (!file)
            continue;
        auto folder = std::filesystem::absolute(*file).parent_path();
        if (auto usable = makeWritableFolder(folder); !usable) {
            std::cerr << "lexorna-sim: cannot write the report to " << folder.string() << ": "
                      << usable.error() << '\n';
            return 1;
        }
    }
    auto reports = playFlows(flows, options.playback);
    if (!reports) {
        std::cerr << "lexorna-sim: " << reports.error() << '\n';
        return 1;
    }
    if (options.report) {
        auto written = writeReport(*reports, *options.report);
        if (written)
            written = writeReportPage(flows, *reports, pageBeside(*options.report),
                                      std::filesystem::absolute(options.playback.out));
        if (!written) {
            std::cerr << "lexorna-sim: " << written.error() << '\n';
            return 1;
        }
    }
    if (options.junit) {
        if (auto written = writeJunit(*reports, *options.junit); !written) {
            std::cerr << "lexorna-sim: " << written.error() << '\n';
            return 1;
        }
    }
    return exitStatus(*reports);
}

} // namespace sim
