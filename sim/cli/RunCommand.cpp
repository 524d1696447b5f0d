#include "sim/cli/RunCommand.h"
#include "sim/cli/WritableFolder.h"
#include "sim/flow/FlowParser.h"
#include "sim/report/JunitReport.h"
#include "sim/report/ReportPage.h"

#include <algorithm>
#include <utility>
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
// anything plays. Answers the flow and the error.
std::optional<std::pair<std::size_t, std::string>> sameScreenshotTwice(const std::vector<Flow>& flows) {
    std::map<std::string, std::string> taken; // name -> where
    for (std::size_t i = 0; i < flows.size(); ++i)
        for (const auto& step : flows[i].steps) {
            if (step.kind != StepKind::TakeScreenshot)
                continue;
            auto [first, added] = taken.emplace(step.text(), step.where());
            if (!added)
                return std::pair(i, step.where() + ": takeScreenshot: `" + step.text() + "` is taken already at " +
                                        first->second + " (each screenshot of a run needs a name of its own)");
        }
    return std::nullopt;
}

// -e NAME=VALUE, each given once.
support::Expected<Variables, std::string> variablesOf(const std::vector<std::string>& given) {
    Variables variables;
    for (const auto& assignment : given) {
        auto equals = assignment.find('=');
        std::string name = assignment.substr(0, equals);
        if (equals == std::string::npos || !isVariableName(name))
            return support::Unexpected("-e " + assignment + ": expected NAME=VALUE, a NAME of letters, digits and `_`");
        if (!variables.emplace(name, assignment.substr(equals + 1)).second)
            return support::Unexpected("-e " + name + " is given twice");
    }
    return variables;
}

std::string listed(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& name : names)
        out += (out.empty() ? "" : ", ") + name;
    return out;
}

// Why the tags leave a flow out, if they do: it needs one included tag, when any are
// given, and no excluded one.
std::optional<std::string> leftOutByTags(const Flow& flow, const RunOptions& options) {
    auto has = [&](const std::string& tag) { return std::ranges::find(flow.tags, tag) != flow.tags.end(); };
    const std::string tags = flow.tags.empty() ? "it has no tags" : "its tags are " + listed(flow.tags);
    if (!options.includeTags.empty() && std::ranges::none_of(options.includeTags, has))
        return tags + ", none of --include-tags " + listed(options.includeTags);
    for (const auto& tag : options.excludeTags)
        if (has(tag))
            return "it is tagged " + tag + " (--exclude-tags " + listed(options.excludeTags) + ")";
    return std::nullopt;
}

// The report, its page and JUnit, each when asked for.
int writeResults(const RunOptions& options, const std::vector<Flow>& flows, const std::vector<FlowReport>& reports) {
    if (options.report) {
        auto written = writeReport(reports, *options.report);
        if (written)
            written = writeReportPage(flows, reports, pageBeside(*options.report),
                                      std::filesystem::absolute(options.playback.out));
        if (!written) {
            std::cerr << "lexorna-sim: " << written.error() << '\n';
            return 1;
        }
    }
    if (options.junit) {
        if (auto written = writeJunit(reports, *options.junit); !written) {
            std::cerr << "lexorna-sim: " << written.error() << '\n';
            return 1;
        }
    }
    return 0;
}

// The folders of the report and JUnit, made now rather than after minutes of play.
bool reportFoldersUsable(const RunOptions& options) {
    for (const auto& file : {options.report, options.junit}) {
        if (!file)
            continue;
        auto folder = std::filesystem::absolute(*file).parent_path();
        if (auto usable = makeWritableFolder(folder); !usable) {
            std::cerr << "lexorna-sim: cannot write the report to " << folder.string() << ": " << usable.error()
                      << '\n';
            return false;
        }
    }
    return true;
}

} // namespace

int runFlows(const RunOptions& options) {
    const auto files = flowFiles(options.flows);
    if (files.empty()) {
        std::cerr << "lexorna-sim: no flow files (*.yaml) in " << options.flows.front() << '\n';
        return 2;
    }
    auto variables = variablesOf(options.env);
    if (!variables) {
        std::cerr << "lexorna-sim: " << variables.error() << '\n';
        return 2;
    }

    // Every flow is read before any plays. One that cannot be read is a failed test case
    // of its own in the report and JUnit, as CI expects, and the others are not played.
    std::vector<Flow> flows;
    std::vector<std::optional<std::string>> errors; // per file: why it does not parse
    const FlowOptions reading{*variables, readFlowFileFromDisk};
    for (const auto& file : files) {
        auto flow = parseFlowFile(file, reading);
        if (!flow) {
            std::cerr << flow.error().text() << '\n';
            flows.emplace_back().file = file;
            errors.push_back(flow.error().text());
            continue;
        }
        for (const auto& warning : flow->warnings)
            std::cerr << "warning: " << warning << '\n';
        flows.push_back(std::move(*flow));
        errors.emplace_back();
    }
    if (std::ranges::all_of(errors, [](const auto& error) { return !error; }))
        if (auto twice = sameScreenshotTwice(flows)) {
            std::cerr << twice->second << '\n';
            errors[twice->first] = twice->second;
        }
    if (auto first = std::ranges::find_if(errors, [](const auto& error) { return error.has_value(); });
        first != errors.end()) {
        const std::string& stopper = flows[static_cast<std::size_t>(first - errors.begin())].file;
        std::vector<FlowReport> reports;
        for (std::size_t i = 0; i < flows.size(); ++i)
            reports.push_back(errors[i] ? FlowReport::unreadable(flows[i].file, *errors[i])
                                        : FlowReport::left(flows[i], "not played: " + stopper + " does not parse"));
        if (reportFoldersUsable(options))
            writeResults(options, flows, reports);
        return 2;
    }

    for (auto& flow : flows)
        flow.skip = leftOutByTags(flow, options);
    if (!reportFoldersUsable(options))
        return 1;
    auto reports = playFlows(flows, options.playback);
    if (!reports) {
        std::cerr << "lexorna-sim: " << reports.error() << '\n';
        return 1;
    }
    if (int written = writeResults(options, flows, *reports); written != 0)
        return written;
    return exitStatus(*reports);
}

} // namespace sim
