#include "Flow.h"

#include <array>
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
