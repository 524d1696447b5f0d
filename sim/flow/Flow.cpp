#include "sim/flow/Flow.h"

#include <array>
#include <sstream>
#include <utility>

namespace sim {

namespace {

constexpr std::array<std::pair<StepKind, std::string_view>, 19> StepNames{{
    {StepKind::Launch, "launch"},
    {StepKind::Relaunch, "relaunch"},
    {StepKind::Layout, "layout"},
    {StepKind::TapOn, "tapOn"},
    {StepKind::DoubleTapOn, "doubleTapOn"},
    {StepKind::LongPressOn, "longPressOn"},
    {StepKind::SelectText, "selectText"},
    {StepKind::Copy, "copy"},
    {StepKind::InputText, "inputText"},
    {StepKind::SetSettings, "setSettings"},
    {StepKind::AssertVisible, "assertVisible"},
    {StepKind::AssertNotVisible, "assertNotVisible"},
    {StepKind::AssertPasteboard, "assertPasteboard"},
    {StepKind::AssertFile, "assertFile"},
    {StepKind::AssertPresented, "assertPresented"},
    {StepKind::AssertNotPresented, "assertNotPresented"},
    {StepKind::AssertScreenshot, "assertScreenshot"},
    {StepKind::TakeScreenshot, "takeScreenshot"},
    {StepKind::Dump, "dump"},
}};

std::string quoted(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string pointText(const Point& point) {
    return "[" + number(point.x) + ", " + number(point.y) + "]";
}

// A selector's keys as a flow map holds them: `id: chat`, `text: "Hi"`.
std::vector<std::string> selectorFields(const ViewSelector& selector) {
    std::vector<std::string> out;
    if (selector.id)
        out.push_back("id: " + *selector.id);
    if (selector.text)
        out.push_back("text: " + quoted(*selector.text));
    if (selector.className)
        out.push_back("class: " + *selector.className);
    if (selector.madeBy)
        out.push_back("madeBy: " + *selector.madeBy);
    if (selector.index)
        out.push_back("index: " + std::to_string(*selector.index));
    return out;
}

std::string flowMap(const std::vector<std::string>& fields) {
    std::string out;
    for (const auto& field : fields)
        out += (out.empty() ? "" : ", ") + field;
    return "{" + out + "}";
}

// A touch's target with the options that differ from their defaults, in one map as a flow
// writes them (`{id: chat, touches: 2}`); the target alone when there are none.
std::string touchText(const ViewSelector& target, const std::vector<std::string>& options) {
    if (options.empty())
        return target.description();
    auto fields = selectorFields(target);
    fields.insert(fields.end(), options.begin(), options.end());
    return flowMap(fields);
}

std::vector<std::string> tapOptions(const Tap& tap, int defaultTaps) {
    std::vector<std::string> out;
    if (tap.taps != defaultTaps)
        out.push_back("repeat: " + std::to_string(tap.taps));
    if (tap.touches != 1)
        out.push_back("touches: " + std::to_string(tap.touches));
    if (tap.at)
        out.push_back("at: " + pointText(*tap.at));
    if (tap.force)
        out.push_back("force: true");
    return out;
}

std::vector<std::string> longPressOptions(const LongPress& press) {
    std::vector<std::string> out;
    if (press.duration != LongPress{}.duration)
        out.push_back("duration: " + number(press.duration));
    if (press.move)
        out.push_back("move: true");
    if (press.at)
        out.push_back("at: " + pointText(*press.at));
    if (press.force)
        out.push_back("force: true");
    return out;
}

// The name alone when nothing else differs from the defaults.
std::string screenshotText(const ScreenshotExpectation& expectation) {
    if (!expectation.in && expectation.tolerance == ScreenshotExpectation{}.tolerance)
        return expectation.name;
    std::vector<std::string> fields{"name: " + expectation.name};
    if (expectation.in)
        fields.push_back("in: " + expectation.in->description());
    if (expectation.tolerance != ScreenshotExpectation{}.tolerance)
        fields.push_back("tolerance: " + number(expectation.tolerance));
    return flowMap(fields);
}

std::string fileText(const FileExpectation& file) {
    std::string out = "{path: " + file.path;
    if (file.text)
        out += ", text: " + quoted(*file.text);
    else
        out += file.exists ? ", exists: true" : ", exists: false";
    return out + "}";
}

} // namespace

std::string_view stepName(StepKind kind) {
    for (const auto& [k, name] : StepNames)
        if (k == kind)
            return name;
    return {};
}

std::optional<StepKind> stepKindNamed(std::string_view name) {
    for (const auto& [kind, n] : StepNames)
        if (n == name)
            return kind;
    return std::nullopt;
}

std::vector<std::string_view> allStepNames() {
    std::vector<std::string_view> names;
    for (const auto& [kind, name] : StepNames)
        names.push_back(name);
    return names;
}

std::string stepNames() {
    std::string out;
    for (auto name : allStepNames()) {
        if (!out.empty())
            out += ", ";
        out += name;
    }
    return out;
}

bool Step::isAssertion() const {
    switch (kind) {
    case StepKind::AssertVisible:
    case StepKind::AssertNotVisible:
    case StepKind::AssertPasteboard:
    case StepKind::AssertFile:
    case StepKind::AssertPresented:
    case StepKind::AssertNotPresented:
    case StepKind::AssertScreenshot:
        return true;
    default:
        return false;
    }
}

std::string Step::description() const {
    std::string out(name());
    switch (kind) {
    case StepKind::TapOn:
    case StepKind::DoubleTapOn: {
        const auto& tap = std::get<Tap>(argument);
        return out + ": " + touchText(tap.target, tapOptions(tap, kind == StepKind::DoubleTapOn ? 2 : 1));
    }
    case StepKind::LongPressOn: {
        const auto& press = std::get<LongPress>(argument);
        return out + ": " + touchText(press.target, longPressOptions(press));
    }
    case StepKind::SelectText: {
        const auto& selection = std::get<TextSelection>(argument);
        return out + ": {in: " + selection.in.description() + ", from: " + std::to_string(selection.from) +
               ", length: " + std::to_string(selection.length) + "}";
    }
    case StepKind::AssertVisible:
    case StepKind::AssertNotVisible:
        return out + ": " + std::get<ViewSelector>(argument).description();
    case StepKind::AssertFile:
        return out + ": " + fileText(std::get<FileExpectation>(argument));
    case StepKind::AssertScreenshot:
        return out + ": " + screenshotText(std::get<ScreenshotExpectation>(argument));
    case StepKind::InputText:
    case StepKind::AssertPasteboard:
        return out + ": " + quoted(text());
    case StepKind::AssertPresented:
    case StepKind::AssertNotPresented:
    case StepKind::TakeScreenshot:
    case StepKind::Dump:
        return out + ": " + text();
    case StepKind::Launch:
    case StepKind::Relaunch:
    case StepKind::Layout:
    case StepKind::Copy:
    case StepKind::SetSettings: // the new file's bytes say little to a reader
        return out;
    }
    return out;
}

std::string ViewSelector::description() const {
    if (text && !id && !className && !madeBy && !index)
        return quoted(*text);
    return flowMap(selectorFields(*this));
}

std::string flowName(const std::string& file, const std::map<std::string, std::string>& env) {
    std::string out = file;
    for (const auto& [variable, value] : env)
        out += " -e " + variable + "=" + value;
    return out;
}

std::vector<Segment> Flow::segments() const {
    std::vector<Segment> out;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (out.empty() || steps[i].launches())
            out.push_back({i, 0, steps[i].launches()});
        ++out.back().count;
    }
    return out;
}

} // namespace sim
