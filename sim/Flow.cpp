#include "Flow.h"

#include <array>
#include <sstream>
#include <utility>

namespace sim {

namespace {

constexpr std::array<std::pair<StepKind, std::string_view>, 18> StepNames{{
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

// The keys of a touch step that differ from their defaults, as `, touches: 2`.
std::string tapOptions(const Tap& tap, int defaultTaps) {
    std::string out;
    if (tap.taps != defaultTaps)
        out += ", repeat: " + std::to_string(tap.taps);
    if (tap.touches != 1)
        out += ", touches: " + std::to_string(tap.touches);
    if (tap.at)
        out += ", at: " + pointText(*tap.at);
    return out;
}

std::string longPressOptions(const LongPress& press) {
    std::string out = ", duration: " + number(press.duration);
    if (press.move)
        out += ", move: true";
    if (press.at)
        out += ", at: " + pointText(*press.at);
    return out;
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

std::string stepNames() {
    std::string out;
    for (const auto& [kind, name] : StepNames) {
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
        return out + ": " + tap.target.description() + tapOptions(tap, kind == StepKind::DoubleTapOn ? 2 : 1);
    }
    case StepKind::LongPressOn: {
        const auto& press = std::get<LongPress>(argument);
        return out + ": " + press.target.description() + longPressOptions(press);
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
    if (text && !id && !className && !index)
        return quoted(*text);
    std::string out;
    auto add = [&](std::string_view key, const std::string& value) {
        out += out.empty() ? "{" : ", ";
        out += key;
        out += ": ";
        out += value;
    };
    if (id)
        add("id", *id);
    if (text)
        add("text", quoted(*text));
    if (className)
        add("class", *className);
    if (index)
        add("index", std::to_string(*index));
    return out.empty() ? "{}" : out + "}";
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
