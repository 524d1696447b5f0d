#include "sim/report/ReportPage.h"
#include "sim/report/MarkupText.h"
#include "sim/report/OutputFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace sim {

namespace {

constexpr const char* Style = R"(
body { font: 15px/1.45 -apple-system, "Segoe UI", "DejaVu Sans", sans-serif; margin: 0; background: #f2f2f5; color: #1c1c1e; }
header, section { max-width: 60rem; margin: 1rem auto; padding: 1rem 1.5rem; background: #fff; border-radius: 12px; }
h1 { margin: 0 0 .25rem; font-size: 1.5rem; }
h2 { margin: 0; font-size: 1.15rem; word-break: break-all; }
h3 { margin: 1.25rem 0 .25rem; font-size: 1rem; }
ul.index { padding-left: 1.2rem; margin: .5rem 0 0; }
a { color: inherit; }
.meta { color: #6e6e73; margin: .25rem 0; }
.badge { display: inline-block; min-width: 3em; padding: 0 .5em; border-radius: 6px; color: #fff; font-size: .85rem; text-align: center; }
.badge.ok { background: #248a3d; }
.badge.failed { background: #d70015; }
.badge.skipped { background: #8e8e93; }
.warning { color: #a05a00; margin: .25rem 0; }
.failure, .crash, .error { color: #d70015; margin: .25rem 0; white-space: pre-wrap; }
ol.steps { list-style: none; padding: 0; margin: .5rem 0; }
li.step { display: grid; grid-template-columns: 2.2rem 1.5rem 1fr; align-items: baseline; padding: .2rem 0; border-top: 1px solid #ececf0; }
li.step .number { color: #8e8e93; text-align: right; padding-right: .4rem; font-size: .85rem; }
li.step .mark { font-weight: bold; }
li.ok .mark { color: #248a3d; }
li.failed .mark { color: #d70015; }
li.skipped { color: #8e8e93; }
li.step > :nth-child(n+4) { grid-column: 3; }
code, pre { font: .9rem/1.4 "DejaVu Sans Mono", Menlo, monospace; white-space: pre-wrap; word-break: break-word; }
.fired { color: #3a3a3c; margin: .1rem 0; font-size: .9rem; }
figure { margin: .5rem 0 .75rem; }
figure img { display: block; max-width: 100%; height: auto; border: 1px solid #d1d1d6; border-radius: 10px; }
figcaption { color: #6e6e73; font-size: .85rem; margin-top: .2rem; }
.compared { display: grid; grid-template-columns: repeat(3, 1fr); gap: .5rem; }
details { margin: .4rem 0; }
summary { cursor: pointer; color: #3a3a3c; }
table { border-collapse: collapse; font-size: .85rem; }
td, th { text-align: left; padding: .1rem .8rem .1rem 0; }
)";

// A relative file path as a URL path: everything but plain letters, digits, "-._~" and
// "/" is percent-encoded, so spaces or "#" in a folder's name do not break a link.
std::string urlPath(const std::string& path) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("-._~/", c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 15];
        }
    }
    return out;
}

std::string textOf(const Json& json, const char* key) {
    auto it = json.find(key);
    return it != json.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::string plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "UITapGestureRecognizer → -[WAMessageContainerView WAWordCopy]"; a control's action has
// no recogniser.
std::string firedText(const Json& fired) {
    std::string recognizer = textOf(fired, "recognizer");
    return (recognizer.empty() ? "control" : recognizer) + " → -[" + textOf(fired, "target") + " " +
           textOf(fired, "action") + "]";
}

// What the report holds of one part of a flow: the steps before the first launch (no
// launch), or one launch. Results past `played` did not run; each result names its step.
struct PlayedSegment {
    const std::vector<StepResult>& results;
    std::size_t played;
    const LaunchReport* launch;
};

template <class Visit> void forEachSegment(const FlowReport& report, Visit visit) {
    if (!report.earlySteps.empty())
        visit(PlayedSegment{report.earlySteps, report.earlySteps.size(), nullptr});
    for (const LaunchReport& launch : report.launches)
        visit(PlayedSegment{launch.steps, launch.played, &launch});
}

// A flow's state at a glance, coloured by its own class wherever it stands (a folded
// flow's badge stands inside its <summary>).
const char* stateOf(const FlowReport& report) {
    return !report.played() ? "skipped" : report.ok() ? "ok" : "failed";
}

std::string badge(const char* state) {
    return std::string("<span class=\"badge ") + state + "\">" + state + "</span>";
}

bool isScreenshot(const Step& step, const StepResult& result) {
    return step.kind == StepKind::TakeScreenshot && result.ok;
}

class PageWriter {
public:
    explicit PageWriter(std::filesystem::path screenshots) : screenshots_(std::move(screenshots)) {}

    std::string page(const std::vector<Flow>& flows, const std::vector<FlowReport>& reports);

private:
    void flow(std::size_t index, const Flow& flow, const FlowReport& report);
    void segment(const Flow& flow, const PlayedSegment& played, std::size_t launchNumber);
    void step(const Flow& flow, const StepResult& result, bool played);
    void comparison(const ComparedPictures& pictures);
    void launchDetails(const LaunchReport& launch);
    void snapshot(const Json& snapshot);
    void viewTree(const Json& node);

    std::filesystem::path screenshots_;
    std::ostringstream out_;
};

std::string PageWriter::page(const std::vector<Flow>& flows, const std::vector<FlowReport>& reports) {
    const std::size_t count = std::min(flows.size(), reports.size());
    const auto end = reports.begin() + static_cast<std::ptrdiff_t>(count);
    const auto failed = static_cast<std::size_t>(
        std::count_if(reports.begin(), end, [](const FlowReport& report) { return !report.ok(); }));
    const auto skipped = static_cast<std::size_t>(std::count_if(reports.begin(), end, [](const FlowReport& report) {
        return !report.played();
    }));
    std::string outcome =
        failed == 0 ? (count == 1 ? "it held" : "all held") : std::to_string(failed) + " failed";
    out_ << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         << "<title>Lexorna report: " << plural(count, "flow", "flows") << ", " << outcome << "</title>\n"
         << "<style>" << Style << "</style>\n</head>\n<body>\n"
         << "<header class=\"" << (failed == 0 ? "ok" : "failed") << "\">\n<h1>Lexorna report</h1>\n"
         << "<p class=\"meta\">" << plural(count, "flow", "flows") << ": " << count - failed - skipped
         << " held, " << failed << " failed" << (skipped ? ", " + std::to_string(skipped) + " skipped" : "")
         << "</p>\n<ul class=\"index\">\n";
    for (std::size_t i = 0; i < count; ++i)
        out_ << "<li><a href=\"#flow-" << i + 1 << "\">" << markupEscaped(reports[i].name())
             << "</a>: " << stateOf(reports[i]) << "</li>\n";
    out_ << "</ul>\n</header>\n";
    // Failed flows first, open; the flows that held folded below them.
    for (bool failures : {true, false})
        for (std::size_t i = 0; i < count; ++i)
            if (reports[i].ok() != failures)
                flow(i, flows[i], reports[i]);
    out_ << "</body>\n</html>\n";
    return out_.str();
}

void PageWriter::flow(std::size_t index, const Flow& flow, const FlowReport& report) {
    const char* state = stateOf(report);
    out_ << "<section id=\"flow-" << index + 1 << "\" class=\"flow " << state << "\">\n<details"
         << (report.ok() ? "" : " open") << ">\n<summary><h2>" << badge(state) << " "
         << markupEscaped(report.name()) << "</h2></summary>\n"
         << "<p class=\"meta\">" << markupEscaped(flow.app) << " · "
         << plural(report.stepCount, "step", "steps") << " · assertions: " << report.passed << " passed, "
         << report.failed << " failed</p>\n";
    if (report.skipped)
        out_ << "<p class=\"meta\">Not played: " << markupEscaped(*report.skipped) << "</p>\n";
    if (report.failure)
        out_ << "<p class=\"failure\">" << markupEscaped(*report.failure) << "</p>\n";
    for (const auto& warning : report.warnings)
        out_ << "<p class=\"warning\">Warning: " << markupEscaped(warning) << "</p>\n";
    std::size_t launches = 0;
    forEachSegment(
        report, [&](const PlayedSegment& played) { segment(flow, played, played.launch ? ++launches : 0); });
    out_ << "</details>\n</section>\n";
}

void PageWriter::segment(const Flow& flow, const PlayedSegment& played, std::size_t launchNumber) {
    if (played.launch) {
        out_ << "<h3>Launch " << launchNumber << "</h3>\n<p class=\"meta\">home "
             << markupEscaped(textOf(played.launch->process, "home")) << "</p>\n";
        if (auto crash = played.launch->crash())
            out_ << "<p class=\"crash\">Crashed: " << markupEscaped(*crash) << "</p>\n";
    } else {
        out_ << "<h3>Before the first launch</h3>\n";
    }
    out_ << "<ol class=\"steps\">\n";
    for (std::size_t k = 0; k < played.results.size(); ++k)
        if (played.results[k].index < flow.steps.size())
            step(flow, played.results[k], k < played.played);
    out_ << "</ol>\n";
    if (played.launch)
        launchDetails(*played.launch);
}

void PageWriter::step(const Flow& flow, const StepResult& result, bool played) {
    const Step& step = flow.steps[result.index];
    played = played && !result.skipped;
    const char* state = !played ? "skipped" : result.ok ? "ok" : "failed";
    const char* mark = !played ? "–" : result.ok ? "✓" : "✗";
    out_ << "<li class=\"step " << state << "\"><span class=\"number\">" << result.index + 1
         << "</span><span class=\"mark\" title=\""
         << (!played     ? "not run"
             : result.ok ? "held"
                         : "failed")
         << "\">" << mark << "</span><code>" << markupEscaped(result.text) << "</code>";
    if (played) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", result.seconds);
        // A subflow's step is named where it is written.
        out_ << " <span class=\"meta\">"
             << (result.file.empty() || result.file == flow.file ? "line " + std::to_string(result.line)
                                                                 : markupEscaped(result.file) + ":" +
                                                                       std::to_string(result.line))
             << " · " << seconds << " s</span>";
    }
    out_ << "\n";
    if (result.error)
        out_ << "<p class=\"error\">" << markupEscaped(*result.error) << "</p>\n";
    if (result.screenshot)
        out_ << "<figure><img src=\""
             << markupEscaped(urlPath((screenshots_ / *result.screenshot).generic_string()))
             << "\" alt=\"The screen at the failure\" width=\"" << flow.screen.width << "\" height=\""
             << flow.screen.height << "\"><figcaption>" << markupEscaped(*result.screenshot)
             << "</figcaption></figure>\n";
    for (const auto& fired : result.fired)
        out_ << "<p class=\"fired\">fired " << markupEscaped(firedText(fired)) << "</p>\n";
    if (isScreenshot(step, result)) {
        std::string file = step.text() + ".png";
        out_ << "<figure><img src=\"" << markupEscaped(urlPath((screenshots_ / file).generic_string()))
             << "\" alt=\"Screenshot " << markupEscaped(step.text()) << "\" width=\"" << flow.screen.width
             << "\" height=\"" << flow.screen.height << "\"><figcaption>" << markupEscaped(file)
             << "</figcaption></figure>\n";
    }
    if (result.wrote)
        out_ << "<p class=\"meta\">wrote the saved picture " << markupEscaped(*result.wrote) << "</p>\n";
    if (result.pictures)
        comparison(*result.pictures);
    out_ << "</li>\n";
}

// A failed assertScreenshot's pictures side by side: what was saved, what the screen
// showed, and where they differ.
void PageWriter::comparison(const ComparedPictures& pictures) {
    auto figure = [&](const std::string& file, const char* caption) {
        out_ << "<figure><img src=\"" << markupEscaped(urlPath((screenshots_ / file).generic_string()))
             << "\" alt=\"" << caption << "\"><figcaption>" << caption << ": " << markupEscaped(file)
             << "</figcaption></figure>\n";
    };
    out_ << "<div class=\"compared\">\n";
    figure(pictures.expected, "expected");
    figure(pictures.actual, "actual");
    if (pictures.diff)
        figure(*pictures.diff, "difference");
    out_ << "</div>\n";
}

// " (made by Lexorna)" for what an injected library made, as messages name it.
std::string madeByText(const Json& node) {
    auto madeBy = node.find("madeBy");
    return madeBy != node.end() && madeBy->is_string() ? " (made by " + madeBy->get<std::string>() + ")" : "";
}

// A view of a snapshot's tree as a line: `UILabel#title "Hello" [0, 0, 100, 20]`.
std::string nodeText(const Json& node) {
    std::string text = textOf(node, "class");
    if (auto id = node.find("id"); id != node.end() && id->is_string())
        text += "#" + id->get<std::string>();
    if (auto shown = node.find("text"); shown != node.end() && shown->is_string())
        text += " " + jsonText(*shown);
    if (auto frame = node.find("frame"); frame != node.end())
        text += " " + jsonText(*frame);
    return text + madeByText(node);
}

void PageWriter::viewTree(const Json& node) {
    const Json empty = Json::array();
    auto found = node.find("subviews");
    const Json& subviews = found != node.end() && found->is_array() ? *found : empty;
    if (subviews.empty()) {
        out_ << "<li><code>" << markupEscaped(nodeText(node)) << "</code></li>\n";
        return;
    }
    out_ << "<li><details open><summary><code>" << markupEscaped(nodeText(node)) << "</code></summary><ul>\n";
    for (const auto& child : subviews)
        viewTree(child);
    out_ << "</ul></details></li>\n";
}

// A `dump` step's snapshot: folded, the view tree (with what is presented), the
// pasteboard and the app's files.
void PageWriter::snapshot(const Json& taken) {
    out_ << "<details class=\"snapshot\"><summary>Snapshot "
         << markupEscaped(jsonText(taken.value("label", Json()))) << "</summary>\n<ul class=\"tree\">\n";
    if (auto window = taken.find("window");
        window != taken.end() && window->is_object() && window->contains("tree"))
        viewTree((*window)["tree"]);
    if (auto presented = taken.find("presented"); presented != taken.end() && presented->is_array())
        for (const auto& controller : *presented) {
            out_ << "<li>presented "
                 << markupEscaped(textOf(controller, "controller") + madeByText(controller)) << "<ul>\n";
            if (controller.contains("tree"))
                viewTree(controller["tree"]);
            out_ << "</ul></li>\n";
        }
    out_ << "</ul>\n<p class=\"meta\">pasteboard: "
         << markupEscaped(jsonText(taken.value("pasteboard", Json()))) << "</p>\n";
    if (auto files = taken.find("files"); files != taken.end() && files->is_object() && !files->empty()) {
        out_ << "<p class=\"meta\">files:</p><ul>\n";
        for (const auto& [path, file] : files->items())
            out_ << "<li><code>" << markupEscaped(path) << "</code> " << markupEscaped(jsonText(file))
                 << "</li>\n";
        out_ << "</ul>\n";
    }
    out_ << "</details>\n";
}

void PageWriter::launchDetails(const LaunchReport& launch) {
    const Json& process = launch.process;
    if (auto opens = process.find("fileOpens");
        opens != process.end() && opens->is_object() && !opens->empty()) {
        out_ << "<p class=\"meta\">file opens: ";
        bool first = true;
        for (const auto& [path, count] : opens->items()) {
            out_ << (first ? "" : ", ") << markupEscaped(path) << " × " << markupEscaped(jsonText(count));
            first = false;
        }
        out_ << "</p>\n";
    }
    if (auto snapshots = process.find("snapshots"); snapshots != process.end() && snapshots->is_array())
        for (const auto& taken : *snapshots)
            snapshot(taken);
    if (auto loaded = process.find("loaded"); loaded != process.end() && loaded->is_array()) {
        out_ << "<p class=\"meta\">loaded: ";
        if (loaded->empty())
            out_ << "nothing";
        for (std::size_t i = 0; i < loaded->size(); ++i)
            out_ << (i ? ", " : "")
                 << markupEscaped((*loaded)[i].is_string() ? (*loaded)[i].get<std::string>() : "");
        out_ << "</p>\n";
    }
    if (auto log = process.find("log"); log != process.end() && log->is_array() && !log->empty()) {
        out_ << "<details><summary>Log (" << plural(log->size(), "line", "lines") << ")</summary><pre>";
        for (const auto& line : *log)
            out_ << markupEscaped(line.is_string() ? line.get<std::string>() : jsonText(line)) << '\n';
        out_ << "</pre></details>\n";
    }
    if (auto runtime = process.find("runtime");
        runtime != process.end() && runtime->is_array() && !runtime->empty()) {
        out_
            << "<details><summary>Runtime calls (" << runtime->size()
            << ")</summary>\n<table>\n<tr><th>call</th><th>class</th><th>selector</th><th>result</th></tr>\n";
        for (const auto& call : *runtime) {
            const Json result = call.value("result", Json());
            out_ << "<tr><td>" << markupEscaped(textOf(call, "call")) << "</td><td>"
                 << markupEscaped(textOf(call, "class")) << "</td><td>"
                 << markupEscaped(textOf(call, "selector")) << "</td><td>"
                 << markupEscaped(result.is_string() ? result.get<std::string>() : jsonText(result))
                 << "</td></tr>\n";
        }
        out_ << "</table>\n</details>\n";
    }
}

} // namespace

std::string reportPage(const std::vector<Flow>& flows, const std::vector<FlowReport>& reports,
                       const std::filesystem::path& screenshots) {
    return PageWriter(screenshots).page(flows, reports);
}

support::Expected<void, std::string> writeReportPage(const std::vector<Flow>& flows,
                                                     const std::vector<FlowReport>& reports,
                                                     const std::filesystem::path& file,
                                                     const std::filesystem::path& screenshotFolder) {
    auto pageFolder = std::filesystem::absolute(file).parent_path();
    auto screenshots = std::filesystem::absolute(screenshotFolder)
                           .lexically_normal()
                           .lexically_relative(pageFolder.lexically_normal());
    return writeOutputFile(
        file, reportPage(flows, reports, screenshots == "." ? std::filesystem::path() : screenshots));
}

} // namespace sim
