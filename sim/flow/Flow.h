#pragma once

#include "device/DeviceFaults.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sim {

// Which view a step means: its visible text, accessibility identifier, runtime class
// (subclasses included), the injected library whose code made it ("Lexorna") and, among
// several matches, which one (0-based; none = the front-most).
struct ViewSelector {
    std::optional<std::string> id;
    std::optional<std::string> text;
    std::optional<std::string> className;
    std::optional<std::string> madeBy;
    std::optional<std::size_t> index;

    // How messages name it: `{id: chat, class: UIView}` or `"Hello"`.
    std::string description() const;
};

struct Point {
    double x = 0;
    double y = 0;
};

struct Size {
    double width = 0;
    double height = 0;
};

// A tap (tapOn, doubleTapOn): on the view itself, or at a point from its top-left corner.
struct Tap {
    ViewSelector target;
    int taps = 1;
    int touches = 1;
    std::optional<Point> at;
    bool force = false; // touch the view even where something covers it
};

struct LongPress {
    ViewSelector target;
    double duration = 0.5; // seconds held
    bool move = false;     // moved while held
    std::optional<Point> at;
    bool force = false; // touch the view even where something covers it
};

// A selection in a text view, in UTF-16 units as iOS counts.
struct TextSelection {
    ViewSelector in;
    std::size_t from = 0;
    std::size_t length = 0;
};

// A device file: its text, or (text unset) whether it exists. `~` is the app's home.
struct FileExpectation {
    std::string path;
    std::optional<std::string> text;
    bool exists = true;
};

// The screen, or the area of one view, compared with a saved picture.
struct ScreenshotExpectation {
    std::string name;               // as the flow names it
    std::string saved;              // NAME.png beside the file the step is written in
    std::optional<ViewSelector> in; // the view whose area is compared; none: the whole screen
    double tolerance = 0;           // the share of pixels that may differ, from 0 to 1
};

// The bytes of a device file that the flow writes (settings, filter list); nothing when
// the flow wants no file there.
using FileBytes = std::optional<std::string>;

enum class StepKind {
    Launch,
    Relaunch,
    Layout,
    TapOn,
    DoubleTapOn,
    LongPressOn,
    SelectText,
    Copy,
    InputText,
    SetSettings,
    AssertVisible,
    AssertNotVisible,
    AssertPasteboard,
    AssertFile,
    AssertPresented,
    AssertNotPresented,
    AssertScreenshot,
    TakeScreenshot,
    Dump,
};

// The step's name in flow files ("tapOn").
std::string_view stepName(StepKind kind);
std::optional<StepKind> stepKindNamed(std::string_view name);
// The names of every step, for messages.
std::vector<std::string_view> allStepNames();
std::string stepNames();

// What a step acts on, by kind: Tap (tapOn, doubleTapOn), LongPress, TextSelection,
// FileExpectation, ScreenshotExpectation, ViewSelector (assertVisible, assertNotVisible), std::string
// (inputText, assertPasteboard, a class name, a screenshot name, a dump label, the
// bytes of setSettings), nothing for the rest.
using StepArgument = std::variant<std::monostate, Tap, LongPress, TextSelection, FileExpectation,
                                  ScreenshotExpectation, ViewSelector, std::string>;

struct Step {
    StepKind kind = StepKind::Launch;
    std::size_t line = 0;  // 1-based, in the flow file
    std::size_t index = 0; // 0-based, among the flow's steps; the reader numbers them
    StepArgument argument;
    std::string file; // the file it is written in: the flow's, or a subflow's (runFlow)

    std::string_view name() const { return stepName(kind); }
    bool launches() const { return kind == StepKind::Launch || kind == StepKind::Relaunch; }
    bool isAssertion() const;
    // Steps that need no running app: the simulator can play them before the first launch.
    bool needsApp() const { return kind != StepKind::SetSettings && kind != StepKind::AssertFile; }
    const std::string& text() const { return std::get<std::string>(argument); }
    // The step as a flow file would say it, for people reading a report:
    // `doubleTapOn: {id: message-2}`, `selectText: {in: "Hi", from: 0, length: 2}`.
    std::string description() const;
    // Where it is written: "flows/modes/panel.yaml:7".
    std::string where() const { return file + ":" + std::to_string(line); }
};

// Steps between two launches: the first segment may play before any launch (in the
// simulator's own process); every other one starts with `launch` or `relaunch` and is
// one process of the app.
struct Segment {
    std::size_t first = 0; // index into Flow::steps
    std::size_t count = 0;
    bool launches = false;
};

// How results name a flow played with variables given from outside:
// "flows/whatsapp.yaml -e MODE=panel", as a person would play it again.
std::string flowName(const std::string& file, const std::map<std::string, std::string>& env);

struct Flow {
    std::string file;                                  // as the user named it
    std::string app;                                   // the bundle identifier
    std::string ios = "14.4";                          // the running system's version
    Size screen{390, 844};                             // the window, in points
    FileBytes settings;                                // the settings file before the flow
    bool settingsGiven = false;                        // the header says what the settings are
    FileBytes filter;                                  // the filter list the header gives
    bool filterGiven = false;                          // else the package's is installed
    bool install = true;                               // Lexorna installed on the device
    device::DeviceFaults faults;                       // writes the device refuses ("~" the app's home)
    nlohmann::json content = nlohmann::json::object(); // what the app's screens show
    std::vector<Step> steps;                           // its own and its subflows' (runFlow), in order
    std::vector<std::string> tags;                     // the header's, for --include-tags/--exclude-tags
    std::map<std::string, std::string> givenEnv;       // variables given from outside (-e NAME=VALUE)
    std::vector<std::string> warnings;                 // "flows/x.yaml:4: settings.values.Aw: ..."
    std::optional<std::string> skip;                   // set by a run that leaves it out: why

    std::vector<Segment> segments() const;
    std::string name() const { return flowName(file, givenEnv); }
};

} // namespace sim
