#include "sim/flow/FlowParser.h"
#include "sim/flow/Base64.h"
#include "sim/flow/NearestName.h"
#include "sim/flow/PaneSwitches.h"
#include "sim/flow/YamlDocuments.h"
#include "sim/flow/YamlSlips.h"
#include "sim/flow/YamlValues.h"
#include "sim/play/Apps.h"

#include "apps/App.h"
#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"
#include "objc/Autorelease.h"

#include <yaml-cpp/yaml.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <limits>
#include <map>
#include <memory>
#include <regex>

namespace sim {

std::string ParseError::text() const {
    if (line == 0)
        return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}

namespace {

constexpr const char* RunFlow = "runFlow";
constexpr const char* SelectorExpected =
    "expected a selector (a string or a map of id, text, class, madeBy, index)";

// A key of a YAML map with its value. A value left empty has no place of its own in the
// file (yaml-cpp marks it where the next token starts), so errors about it point at
// its key.
struct Field {
    YAML::Node key;
    YAML::Node value;
    YAML::Mark mark() const { return value.IsNull() ? key.Mark() : value.Mark(); }
};
using Fields = std::map<std::string, Field>;

std::string joined(std::initializer_list<std::string_view> names) {
    std::string out;
    for (auto name : names) {
        if (!out.empty())
            out += ", ";
        out += name;
    }
    return out;
}

// yaml-cpp says what it did not find where it gave up, often lines after the slip; this
// says what a person most likely wrote, as "; ..." to follow its message.
std::string likelyCause(const std::string& message) {
    static const std::pair<const char*, const char*> Causes[] = {
        {YAML::ErrorMsg::END_OF_MAP,
         "a line is indented unlike the lines before it, or the `---` between the header and the steps is "
         "missing"},
        {YAML::ErrorMsg::END_OF_SEQ, "a list item is indented unlike the items before it"},
        {YAML::ErrorMsg::END_OF_MAP_FLOW, "a `{` before here is not closed by `}`"},
        {YAML::ErrorMsg::END_OF_SEQ_FLOW, "a `[` before here is not closed by `]`"},
        {YAML::ErrorMsg::FLOW_END, "a `}` or `]` here closes nothing"},
        {YAML::ErrorMsg::MAP_VALUE, "a text that holds `: ` needs quotes"},
        {YAML::ErrorMsg::TAB_IN_INDENTATION, "indent with spaces"},
    };
    for (const auto& [said, cause] : Causes)
        if (message == said)
            return std::string("; ") + cause;
    return {};
}

// A picture's name becomes a file's: no folders, no hidden files.
const std::regex& pictureName() {
    static const std::regex shape("[A-Za-z0-9_-][A-Za-z0-9._-]*");
    return shape;
}
constexpr const char* PictureNameShape = "a file name (letters, digits, '.', '_', '-')";

// What a reader answers once it has recorded why it failed: nothing.
struct Failed {
    template <class T> operator std::optional<T>() const { return std::nullopt; }
};

// The bytes of a filter list that names these apps under "Filter", "Bundles".
std::string filterList(const std::vector<std::string>& bundles) {
    objc::AutoreleasePool pool;
    std::vector<objc::Ref<objc::Object>> names;
    for (const auto& bundle : bundles)
        names.emplace_back(NSString::make(bundle));
    auto* list = NSDictionary::make(
        {{NSString::make("Filter"),
          NSDictionary::make({{NSString::make("Bundles"), NSArray::make(std::move(names))}})}});
    return serializePropertyList(list, PropertyListFormat::Xml);
}

constexpr const char* FlowShape = "a flow is a header, `---`, then the steps";
// Bounds on what subflows may make of a small file: a runFlow nested in itself is a cycle,
// but a few runFlows each running a file twice make a great many steps.
constexpr std::size_t MaxNesting = 16;
constexpr std::size_t MaxSteps = 10000;

// A subflow (runFlow) being read: where it is on this machine, and as messages name it.
struct OpenFile {
    std::string identity;
    std::string name;
};

// What the readers of one flow share: its own file and each subflow have a reader.
struct FlowContext {
    explicit FlowContext(const FlowOptions& given) : options(given) {}

    const FlowOptions& options;
    std::string app;                   // the bundle id, once the header is read
    std::vector<OpenFile> chain;       // the files being read, outermost first
    std::vector<Step> steps;           // the flow's steps so far, its subflows' included
    std::vector<std::string> warnings; // "flows/x.yaml:4: settings.values.Aw: ..."
    std::size_t runFlows = 0;          // read so far
    bool launched = false;
};

// Reads one flow file. Every reader answers nothing once it has recorded why; the first
// error is the one reported.
class FlowReader {
public:
    // A reader of a file's text, or (`document`) of steps in a document another reader holds.
    FlowReader(std::string file, FlowContext& context, Variables variables = {},
               std::shared_ptr<Substitution> document = std::make_shared<Substitution>())
        : file_(std::move(file)), context_(context), variables_(std::move(variables)),
          substitution_(std::move(document)) {}

    std::optional<Flow> read(std::string_view yaml);
    ParseError error() const { return error_.value_or(ParseError{file_, 0, "does not parse"}); }

private:
    void warn(const YAML::Mark& mark, std::string message) {
        context_.warnings.push_back(file_ + ":" + std::to_string(mark.line + 1) + ": " + message);
    }
    // The variables in a value replaced where it stands; false, with the error, when one is
    // not set.
    bool substitute(const YAML::Node& node) {
        auto done = substitution_->in(node, variables_);
        if (!done)
            fail(done.error().mark, done.error().message);
        return done.hasValue();
    }

    // This reader's variables with those a runFlow gives over them.
    Variables overlaid(const Variables& given) const {
        Variables variables = variables_;
        for (const auto& [name, value] : given)
            variables[name] = value;
        return variables;
    }

    std::optional<std::vector<YAML::Node>> documents(std::string_view yaml);
    // The header's env under `over`, then its other values with their variables replaced.
    bool headerVariables(const YAML::Node& header, const Variables& over);
    std::optional<Variables> env(const Field& field, std::string_view context);
    std::optional<std::vector<std::string>> tags(const Field& field, std::string_view context);
    bool steps(const YAML::Node& list);
    bool add(Step step, const YAML::Node& node);
    bool runFlow(const YAML::Node& node);
    std::optional<bool> condition(const Field& field);
    bool subflow(const Field& field, const Variables& given, std::size_t line);
    bool subflowText(std::string_view yaml, const Variables& over);
    // A reader of this file's or a subflow's steps has failed: its error is this one's.
    bool failedWith(const FlowReader& inner, std::size_t line);

    Failed fail(const YAML::Mark& mark, std::string message) {
        if (!error_)
            error_ = ParseError{file_, mark.is_null() ? 1 : static_cast<std::size_t>(mark.line) + 1,
                                std::move(message)};
        return {};
    }
    Failed fail(const YamlError& error, std::string_view context) {
        return fail(error.mark, std::string(context) + ": " + error.message);
    }

    std::optional<Fields> fields(const YAML::Node& map, const YAML::Mark& mark, std::string_view context,
                                 std::initializer_list<std::string_view> allowed, const char* expected);

    std::optional<std::string> text(const Field& field, std::string_view context);
    std::optional<long long> wholeNumber(const Field& field, std::string_view context, long long minimum,
                                         long long maximum = std::numeric_limits<long long>::max());
    std::optional<double> number(const Field& field, std::string_view context);
    std::optional<bool> boolean(const Field& field, std::string_view context);
    std::optional<Point> point(const Field& field, std::string_view context, const char* shape = "[x, y]");

    std::optional<Flow> header(const YAML::Node& node);
    // What the header says of the device the app runs on: its disk and the app's content.
    bool readDevice(const Fields& header, const apps::AppDescription& app, Flow& flow);
    std::optional<std::string> settings(const Field& field, std::string_view context);
    std::optional<FileBytes> filter(const Field& field);
    std::optional<device::DeviceFaults> faults(const Field& field);
    // False, with the error, when `content` holds a key the app does not show or a value
    // of the wrong kind.
    bool contentKeysOf(const apps::AppDescription& app, const YAML::Node& content);
    std::optional<std::string> rawBytes(const Fields& fields, std::string_view context);

    std::optional<Step> step(const YAML::Node& node);
    std::optional<StepArgument> argument(StepKind kind, const Field& field);
    std::optional<StepArgument> textSelection(const Field& field, const std::string& context);
    std::optional<StepArgument> fileExpectation(const Field& field, const std::string& context);
    std::optional<StepArgument> screenshotExpectation(const Field& field, const std::string& context);
    // A text that must match `shape`, which `what` names in the error.
    std::optional<StepArgument> textShaped(const Field& field, const std::string& context,
                                           const std::regex& shape, const char* what);
    std::optional<ViewSelector> selector(const Field& field, std::string_view context);
    std::optional<ViewSelector> selectorOf(const Fields& fields, const YAML::Mark& mark,
                                           std::string_view context);
    template <class Touch>
    std::optional<Touch> touch(const Field& field, std::string_view context,
                               std::initializer_list<std::string_view> allowed);

    std::string file_;
    FlowContext& context_;
    Variables variables_;
    std::shared_ptr<Substitution> substitution_;
    std::optional<ParseError> error_;
};

std::optional<Fields> FlowReader::fields(const YAML::Node& map, const YAML::Mark& mark,
                                         std::string_view context,
                                         std::initializer_list<std::string_view> allowed,
                                         const char* expected) {
    if (!map.IsMap())
        return fail(mark, std::string(context) + ": " + expected);
    Fields out;
    for (const auto& entry : map) {
        if (!entry.first.IsScalar())
            return fail(entry.first.Mark(), std::string(context) + ": " + expected);
        const std::string& key = entry.first.Scalar();
        bool known = false;
        for (auto name : allowed)
            known = known || name == key;
        if (!known)
            return fail(entry.first.Mark(), std::string(context) + ": unknown key `" + key + "`" +
                                                didYouMean(key, std::vector<std::string_view>(allowed)) +
                                                " (expected " + joined(allowed) + ")");
        if (!out.emplace(key, Field{entry.first, entry.second}).second)
            return fail(entry.first.Mark(), std::string(context) + ": duplicate key `" + key + "`");
    }
    return out;
}

std::optional<std::string> FlowReader::text(const Field& field, std::string_view context) {
    // Text is taken as written: `text: 2` means the characters "2".
    if (!field.value.IsScalar())
        return fail(field.mark(), std::string(context) + ": expected a text");
    return field.value.Scalar();
}

std::optional<long long> FlowReader::wholeNumber(const Field& field, std::string_view context,
                                                 long long minimum, long long maximum) {
    auto value = scalarValue(field.value);
    auto* integer = value ? std::get_if<long long>(&*value) : nullptr;
    if (!integer || *integer < minimum || *integer > maximum)
        return fail(field.mark(),
                    std::string(context) + ": expected a whole number " +
                        (maximum == std::numeric_limits<long long>::max()
                             ? "of at least " + std::to_string(minimum)
                             : "from " + std::to_string(minimum) + " to " + std::to_string(maximum)));
    return *integer;
}

std::optional<double> FlowReader::number(const Field& field, std::string_view context) {
    auto value = scalarValue(field.value);
    if (value) {
        if (auto* integer = std::get_if<long long>(&*value))
            return static_cast<double>(*integer);
        if (auto* real = std::get_if<double>(&*value); real && std::isfinite(*real))
            return *real;
    }
    return fail(field.mark(), std::string(context) + ": expected a number");
}

std::optional<bool> FlowReader::boolean(const Field& field, std::string_view context) {
    auto value = scalarValue(field.value);
    auto* flag = value ? std::get_if<bool>(&*value) : nullptr;
    if (!flag)
        return fail(field.mark(), std::string(context) + ": expected true or false");
    return *flag;
}

std::optional<Point> FlowReader::point(const Field& field, std::string_view context, const char* shape) {
    const YAML::Node& node = field.value;
    if (!node.IsSequence() || node.size() != 2)
        return fail(field.mark(), std::string(context) + ": expected " + shape);
    auto x = number({field.key, node[0]}, context);
    auto y = x ? number({field.key, node[1]}, context) : std::nullopt;
    if (!y)
        return std::nullopt;
    return Point{*x, *y};
}

std::optional<std::string> FlowReader::rawBytes(const Fields& fields, std::string_view context) {
    if (auto raw = fields.find("raw"); raw != fields.end())
        return text(raw->second, std::string(context) + ".raw");
    const Field& field = fields.at("base64");
    auto encoded = text(field, std::string(context) + ".base64");
    if (!encoded)
        return std::nullopt;
    auto bytes = decodeBase64(*encoded);
    if (!bytes)
        return fail(field.mark(), std::string(context) + ".base64: " + bytes.error());
    return *bytes;
}

std::optional<std::string> FlowReader::settings(const Field& field, std::string_view context) {
    constexpr const char* expected = "expected {format: xml|binary, values: {...}}, {raw: \"...\"} or "
                                     "{base64: \"...\"}";
    auto map = fields(field.value, field.mark(), context, {"format", "values", "raw", "base64"}, expected);
    if (!map)
        return std::nullopt;
    if (map->count("values") + map->count("raw") + map->count("base64") != 1)
        return fail(field.mark(), std::string(context) + ": " + expected);
    if (!map->count("values")) {
        if (map->count("format"))
            return fail(map->at("format").key.Mark(),
                        std::string(context) + ": format goes with values, not with raw or base64 bytes");
        return rawBytes(*map, context);
    }

    PropertyListFormat format = PropertyListFormat::Xml;
    if (auto it = map->find("format"); it != map->end()) {
        auto name = text(it->second, std::string(context) + ".format");
        if (!name)
            return std::nullopt;
        if (*name == "binary")
            format = PropertyListFormat::Binary;
        else if (*name != "xml")
            return fail(it->second.mark(), std::string(context) + ".format: expected xml or binary");
    }
    objc::AutoreleasePool pool;
    const Field& values = map->at("values");
    auto root = propertyListFromYaml(values.value);
    if (!root)
        return fail(root.error(), std::string(context) + ".values");
    std::string bytes = serializePropertyList(root->get(), format);
    if (bytes.empty())
        return fail(values.mark(), std::string(context) + ".values: has no property-list form");
    // Written as given, as a crafted file would be; but a switch of the settings pane that
    // holds no boolean is not what the pane writes, and the flow is told how it reads.
    if (auto* dictionary = objc::dynCast<NSDictionary>(root->get()))
        for (const auto& entry : values.value)
            if (entry.first.IsScalar() && isPaneSwitch(entry.first.Scalar()))
                if (auto warning = switchValueWarning(dictionary->objectForKey(entry.first.Scalar())))
                    warn(entry.second.Mark(),
                         std::string(context) + ".values." + entry.first.Scalar() + ": " + *warning);
    return bytes;
}

std::optional<FileBytes> FlowReader::filter(const Field& field) {
    constexpr const char* expected =
        "filter: expected a list of bundle ids, none, {raw: \"...\"} or {base64: \"...\"}";
    const YAML::Node& node = field.value;
    if (node.IsScalar() && node.Tag() == "?" && node.Scalar() == "none")
        return FileBytes();
    if (node.IsMap()) {
        auto map = fields(node, field.mark(), "filter", {"raw", "base64"}, expected);
        if (!map)
            return std::nullopt;
        if (map->size() != 1)
            return fail(field.mark(), expected);
        auto bytes = rawBytes(*map, "filter");
        if (!bytes)
            return std::nullopt;
        return FileBytes(std::move(*bytes));
    }
    if (!node.IsSequence())
        return fail(field.mark(), expected);
    std::vector<std::string> bundles;
    for (const auto& element : node) {
        auto bundle = text({field.key, element}, "filter");
        if (!bundle)
            return std::nullopt;
        bundles.push_back(std::move(*bundle));
    }
    return FileBytes(filterList(bundles));
}

std::optional<device::DeviceFaults> FlowReader::faults(const Field& field) {
    auto map = fields(field.value, field.mark(), "faults", {"diskFull", "readOnly"},
                      "expected a map of diskFull, readOnly");
    if (!map)
        return std::nullopt;
    device::DeviceFaults faults;
    if (auto it = map->find("diskFull"); it != map->end()) {
        auto full = boolean(it->second, "faults.diskFull");
        if (!full)
            return std::nullopt;
        faults.diskFull = *full;
    }
    if (auto it = map->find("readOnly"); it != map->end()) {
        const YAML::Node& folders = it->second.value;
        if (!folders.IsSequence())
            return fail(it->second.mark(),
                        "faults.readOnly: expected a list of device folders, such as [\"~/Library\"]");
        for (const auto& element : folders) {
            auto folder = text({it->second.key, element}, "faults.readOnly");
            if (!folder)
                return std::nullopt;
            faults.readOnly.push_back(std::move(*folder));
        }
    }
    return faults;
}

bool FlowReader::contentKeysOf(const apps::AppDescription& app, const YAML::Node& content) {
    std::vector<std::string_view> known(app.contentLists.begin(), app.contentLists.end());
    known.push_back(apps::RootPresentsKey);
    known.push_back(apps::DriftKey);
    std::string expected;
    for (auto name : known)
        expected += (expected.empty() ? "" : ", ") + std::string(name);
    for (const auto& entry : content) {
        const std::string key = entry.first.IsScalar() ? entry.first.Scalar() : "";
        if (std::find(known.begin(), known.end(), key) == known.end()) {
            fail(entry.first.Mark(), "content: " + app.name + " shows no `" + key + "`" +
                                         didYouMean(key, known) + " (expected " + expected + ")");
            return false;
        }
        // Every key but the drift holds a list of what the screen shows.
        if (key != apps::DriftKey && !entry.second.IsSequence()) {
            fail(entry.second.Mark(), "content." + key + ": expected a list, such as [\"Hello\", null]");
            return false;
        }
    }
    return true;
}

std::optional<Flow> FlowReader::header(const YAML::Node& node) {
    auto map = fields(node.IsNull() ? YAML::Node(YAML::NodeType::Map) : node, node.Mark(), "header",
                      {"app", "ios", "screen", "settings", "filter", "install", "faults", "content", "env", "tags"},
                      "expected a map of app, ios, screen, settings, filter, install, faults, content, env, tags");
    if (!map)
        return std::nullopt;

    Flow flow;
    flow.file = file_;
    auto app = map->find("app");
    if (app == map->end())
        return fail(node.Mark(), "app: missing (the app to launch: " + appNames() + " or a bundle id)");
    auto name = text(app->second, "app");
    if (!name)
        return std::nullopt;
    const apps::AppDescription* info = apps::findApp(*name);
    if (!info)
        return fail(app->second.mark(),
                    "app: unknown app `" + *name + "` (expected " + appNames() + " or their bundle ids)");
    flow.app = info->bundleIdentifier;

    if (auto it = map->find("ios"); it != map->end()) {
        static const std::regex version("[0-9]+(\\.[0-9]+){0,2}");
        auto ios = text(it->second, "ios");
        if (!ios)
            return std::nullopt;
        if (!std::regex_match(*ios, version))
            return fail(it->second.mark(), "ios: expected a version such as \"14.4\"");
        flow.ios = *ios;
    }
    if (auto it = map->find("screen"); it != map->end()) {
        auto size = point(it->second, "screen", "[width, height] in points");
        if (!size)
            return std::nullopt;
        if (size->x <= 0 || size->y <= 0)
            return fail(it->second.mark(), "screen: expected [width, height] above zero");
        flow.screen = {size->x, size->y};
    }
    if (auto it = map->find("tags"); it != map->end()) {
        auto tags = this->tags(it->second, "tags");
        if (!tags)
            return std::nullopt;
        flow.tags = std::move(*tags);
    }
    if (!readDevice(*map, *info, flow))
        return std::nullopt;
    return flow;
}

bool FlowReader::readDevice(const Fields& header, const apps::AppDescription& app, Flow& flow) {
    if (auto it = header.find("settings"); it != header.end()) {
        auto bytes = settings(it->second, "settings");
        if (!bytes)
            return false;
        flow.settings = std::move(*bytes);
        flow.settingsGiven = true;
    }
    if (auto it = header.find("install"); it != header.end()) {
        auto install = boolean(it->second, "install");
        if (!install)
            return false;
        flow.install = *install;
    }
    if (auto it = header.find("filter"); it != header.end()) {
        auto bytes = filter(it->second);
        if (!bytes)
            return false;
        flow.filter = std::move(*bytes);
        flow.filterGiven = true;
    }
    if (auto it = header.find("faults"); it != header.end()) {
        auto faults = this->faults(it->second);
        if (!faults)
            return false;
        flow.faults = std::move(*faults);
    }
    if (auto it = header.find("content"); it != header.end()) {
        if (!it->second.value.IsMap()) {
            fail(it->second.mark(), "content: expected a map");
            return false;
        }
        if (!contentKeysOf(app, it->second.value))
            return false;
        auto content = jsonFromYaml(it->second.value);
        if (!content) {
            fail(content.error(), "content");
            return false;
        }
        flow.content = std::move(*content);
    }
    return true;
}

std::optional<ViewSelector> FlowReader::selectorOf(const Fields& fields, const YAML::Mark& mark,
                                                   std::string_view context) {
    ViewSelector selector;
    auto take = [&](const char* key, std::optional<std::string>& into) {
        auto it = fields.find(key);
        if (it == fields.end())
            return true;
        into = text(it->second, std::string(context) + "." + key);
        return into.has_value();
    };
    if (!take("id", selector.id) || !take("text", selector.text) || !take("class", selector.className) ||
        !take("madeBy", selector.madeBy))
        return std::nullopt;
    if (auto it = fields.find("index"); it != fields.end()) {
        auto index = wholeNumber(it->second, std::string(context) + ".index", 0);
        if (!index)
            return std::nullopt;
        selector.index = static_cast<std::size_t>(*index);
    }
    if (!selector.id && !selector.text && !selector.className && !selector.madeBy)
        return fail(mark,
                    std::string(context) + ": a selector names at least an id, a text, a class or madeBy");
    return selector;
}

std::optional<ViewSelector> FlowReader::selector(const Field& field, std::string_view context) {
    if (field.value.IsScalar()) {
        ViewSelector byText;
        byText.text = field.value.Scalar();
        return byText;
    }
    auto map = fields(field.value, field.mark(), context, {"id", "text", "class", "madeBy", "index"},
                      SelectorExpected);
    if (!map)
        return std::nullopt;
    return selectorOf(*map, field.mark(), context);
}

template <class Touch>
std::optional<Touch> FlowReader::touch(const Field& field, std::string_view context,
                                       std::initializer_list<std::string_view> allowed) {
    Touch touch;
    if (field.value.IsScalar()) {
        touch.target.text = field.value.Scalar();
        return touch;
    }
    auto map = fields(field.value, field.mark(), context, allowed, SelectorExpected);
    if (!map)
        return std::nullopt;
    auto target = selectorOf(*map, field.mark(), context);
    if (!target)
        return std::nullopt;
    touch.target = std::move(*target);
    for (const auto& [key, option] : *map) {
        std::string name = std::string(context) + "." + key;
        if (key == "at") {
            touch.at = point(option, name);
            if (!touch.at)
                return std::nullopt;
        } else if (key == "force") {
            auto force = boolean(option, name);
            if (!force)
                return std::nullopt;
            touch.force = *force;
        } else if constexpr (std::is_same_v<Touch, Tap>) {
            if (key == "repeat" || key == "touches") {
                // A gesture of more taps or fingers than a hand can make is a typo.
                auto count = wholeNumber(option, name, 1, key == "repeat" ? 10 : 5);
                if (!count)
                    return std::nullopt;
                (key == "repeat" ? touch.taps : touch.touches) = static_cast<int>(*count);
            }
        } else {
            if (key == "duration") {
                auto seconds = number(option, name);
                if (!seconds)
                    return std::nullopt;
                if (*seconds < 0)
                    return fail(option.mark(), name + ": expected a number of seconds, not below zero");
                touch.duration = *seconds;
            } else if (key == "move") {
                auto move = boolean(option, name);
                if (!move)
                    return std::nullopt;
                touch.move = *move;
            }
        }
    }
    return touch;
}

std::optional<StepArgument> FlowReader::argument(StepKind kind, const Field& field) {
    std::string context(stepName(kind));
    switch (kind) {
    case StepKind::Launch:
    case StepKind::Relaunch:
    case StepKind::Layout:
    case StepKind::Copy:
        if (!field.value.IsNull())
            return fail(field.mark(), context + ": takes no value");
        return std::monostate();
    case StepKind::TapOn:
        return touch<Tap>(field, context,
                          {"id", "text", "class", "madeBy", "index", "repeat", "touches", "at", "force"});
    case StepKind::DoubleTapOn: {
        auto tap =
            touch<Tap>(field, context, {"id", "text", "class", "madeBy", "index", "touches", "at", "force"});
        if (tap)
            tap->taps = 2;
        return tap;
    }
    case StepKind::LongPressOn:
        return touch<LongPress>(
            field, context, {"id", "text", "class", "madeBy", "index", "duration", "move", "at", "force"});
    case StepKind::SelectText:
        return textSelection(field, context);
    case StepKind::InputText:
    case StepKind::AssertPasteboard:
    case StepKind::Dump:
        return text(field, context);
    case StepKind::SetSettings:
        return settings(field, context);
    case StepKind::AssertVisible:
    case StepKind::AssertNotVisible:
        return selector(field, context);
    case StepKind::AssertFile:
        return fileExpectation(field, context);
    case StepKind::AssertPresented:
    case StepKind::AssertNotPresented: {
        static const std::regex className("[A-Za-z_][A-Za-z0-9_]*");
        return textShaped(field, context, className, "a class name");
    }
    case StepKind::AssertScreenshot:
        return screenshotExpectation(field, context);
    case StepKind::TakeScreenshot:
        return textShaped(field, context, pictureName(), PictureNameShape);
    }
    return std::nullopt;
}

std::optional<StepArgument> FlowReader::textSelection(const Field& field, const std::string& context) {
    constexpr const char* expected = "expected {in: SELECTOR, from: N, length: N}";
    auto map = fields(field.value, field.mark(), context, {"in", "from", "length"}, expected);
    if (!map)
        return std::nullopt;
    if (!map->count("in") || !map->count("from") || !map->count("length"))
        return fail(field.mark(), context + ": " + expected);
    auto in = selector(map->at("in"), context + ".in");
    auto from = in ? wholeNumber(map->at("from"), context + ".from", 0) : std::nullopt;
    auto length = from ? wholeNumber(map->at("length"), context + ".length", 0) : std::nullopt;
    if (!length)
        return std::nullopt;
    return TextSelection{*in, static_cast<std::size_t>(*from), static_cast<std::size_t>(*length)};
}

std::optional<StepArgument> FlowReader::screenshotExpectation(const Field& field,
                                                              const std::string& context) {
    constexpr const char* expected = "expected NAME or {name: NAME, in: SELECTOR, tolerance: SHARE}";
    ScreenshotExpectation expectation;
    std::optional<StepArgument> name;
    if (field.value.IsScalar()) {
        name = textShaped(field, context, pictureName(), PictureNameShape);
    } else {
        auto map = fields(field.value, field.mark(), context, {"name", "in", "tolerance"}, expected);
        if (!map)
            return std::nullopt;
        if (!map->count("name"))
            return fail(field.mark(), context + ": " + expected);
        name = textShaped(map->at("name"), context + ".name", pictureName(), PictureNameShape);
        if (auto it = map->find("in"); name && it != map->end()) {
            expectation.in = selector(it->second, context + ".in");
            if (!expectation.in)
                return std::nullopt;
        }
        if (auto it = map->find("tolerance"); name && it != map->end()) {
            auto share = number(it->second, context + ".tolerance");
            if (!share)
                return std::nullopt;
            if (*share < 0 || *share > 1)
                return fail(it->second.mark(), context + ".tolerance: expected a share of the pixels from 0 "
                                                         "to 1, such as 0.001");
            expectation.tolerance = *share;
        }
    }
    if (!name)
        return std::nullopt;
    expectation.name = std::get<std::string>(*name);
    // Saved pictures live with the flows that check them, as the flows' own files.
    expectation.saved = (std::filesystem::path(file_).parent_path() / (expectation.name + ".png")).string();
    return expectation;
}

std::optional<StepArgument> FlowReader::fileExpectation(const Field& field, const std::string& context) {
    constexpr const char* expected = "expected {path: P, text: \"...\"} or {path: P, exists: false}";
    auto map = fields(field.value, field.mark(), context, {"path", "text", "exists"}, expected);
    if (!map)
        return std::nullopt;
    if (!map->count("path") || map->count("text") + map->count("exists") != 1)
        return fail(field.mark(), context + ": " + expected);
    FileExpectation expectation;
    auto path = text(map->at("path"), context + ".path");
    if (!path)
        return std::nullopt;
    expectation.path = *path;
    if (auto it = map->find("text"); it != map->end()) {
        expectation.text = text(it->second, context + ".text");
        if (!expectation.text)
            return std::nullopt;
    } else {
        auto exists = boolean(map->at("exists"), context + ".exists");
        if (!exists)
            return std::nullopt;
        expectation.exists = *exists;
    }
    return expectation;
}

std::optional<StepArgument> FlowReader::textShaped(const Field& field, const std::string& context,
                                                   const std::regex& shape, const char* what) {
    auto name = text(field, context);
    if (name && !std::regex_match(*name, shape))
        return fail(field.mark(), context + ": expected " + what);
    return name;
}

std::optional<Step> FlowReader::step(const YAML::Node& node) {
    constexpr const char* expected =
        "expected a step: a name such as `launch` or one key such as `tapOn: ...`";
    Field field;
    if (node.IsScalar()) {
        field = {node, YAML::Node(YAML::NodeType::Null)};
    } else if (node.IsMap() && node.size() == 1 && node.begin()->first.IsScalar()) {
        field = {node.begin()->first, node.begin()->second};
    } else {
        return fail(node.Mark(), expected);
    }
    const std::string& name = field.key.Scalar();
    auto kind = stepKindNamed(name);
    if (!kind) {
        auto names = allStepNames();
        names.push_back(RunFlow);
        return fail(field.key.Mark(), "unknown step `" + name + "`" + didYouMean(name, names) +
                                          " (expected one of " + stepNames() + ", " + RunFlow + ")");
    }
    auto argument = this->argument(*kind, field);
    if (!argument)
        return std::nullopt;
    return Step{*kind, static_cast<std::size_t>(field.key.Mark().line) + 1, 0, std::move(*argument), file_};
}

// yaml-cpp's messages that a slip of indentation most often causes.
bool mayBeIndentation(const std::string& message) {
    return message == YAML::ErrorMsg::MAP_VALUE || message == YAML::ErrorMsg::END_OF_MAP ||
           message == YAML::ErrorMsg::END_OF_SEQ || message == YAML::ErrorMsg::TAB_IN_INDENTATION;
}

YAML::Mark lineMark(std::size_t line) {
    YAML::Mark mark;
    mark.line = static_cast<int>(line) - 1;
    return mark;
}

std::optional<std::vector<YAML::Node>> FlowReader::documents(std::string_view yaml) {
    try {
        if (auto third = startOfDocumentPast(yaml, 2)) {
            std::size_t at = static_cast<std::size_t>(std::max(third->pos, 0));
            if (at < yaml.size() && yaml[at] == ',')
                return fail(*third, "invalid YAML: a `,` outside `[...]` or `{...}`");
            if (auto slip = indentationSlip(yaml, static_cast<std::size_t>(third->line) + 1))
                return fail(lineMark(slip->line), "invalid YAML: " + slip->message);
            return fail(*third, std::string("unexpected third YAML document: ") + FlowShape +
                                    "; a second `---`, or a line indented unlike the lines before it");
        }
        return YAML::LoadAll(std::string(yaml));
    } catch (const YAML::Exception& e) {
        if (mayBeIndentation(e.msg))
            if (auto slip = indentationSlip(yaml, static_cast<std::size_t>(e.mark.line) + 1))
                return fail(lineMark(slip->line), "invalid YAML: " + slip->message);
        return fail(e.mark, "invalid YAML: " + e.msg + likelyCause(e.msg));
    }
}

bool FlowReader::headerVariables(const YAML::Node& header, const Variables& over) {
    if (!header.IsMap())
        return true; // the header's reader says what it should be
    for (const auto& entry : header)
        if (entry.first.IsScalar() && entry.first.Scalar() == "env") {
            auto env = this->env({entry.first, entry.second}, "env");
            if (!env)
                return false;
            variables_.insert(env->begin(), env->end());
        }
    for (const auto& [name, value] : over)
        variables_[name] = value;
    for (const auto& entry : header)
        if (!(entry.first.IsScalar() && entry.first.Scalar() == "env") && !substitute(entry.second))
            return false;
    return true;
}

std::optional<Variables> FlowReader::env(const Field& field, std::string_view context) {
    if (!field.value.IsMap())
        return fail(field.mark(), std::string(context) + ": expected a map of variables, such as {MODE: panel}");
    Variables variables;
    for (const auto& entry : field.value) {
        const std::string name = entry.first.IsScalar() ? entry.first.Scalar() : "";
        if (!isVariableName(name))
            return fail(entry.first.Mark(), std::string(context) + ": `" + name +
                                                "` cannot name a variable (a letter or `_`, then letters, digits, `_`)");
        if (!entry.second.IsScalar())
            return fail(entry.second.IsNull() ? entry.first.Mark() : entry.second.Mark(),
                        std::string(context) + "." + name + ": expected a text (\"\" for none)");
        if (!variables.emplace(name, entry.second.Scalar()).second)
            return fail(entry.first.Mark(), std::string(context) + ": duplicate variable `" + name + "`");
    }
    return variables;
}

std::optional<std::vector<std::string>> FlowReader::tags(const Field& field, std::string_view context) {
    if (!field.value.IsSequence())
        return fail(field.mark(), std::string(context) + ": expected a list of tags, such as [smoke, whatsapp]");
    std::vector<std::string> tags;
    for (const auto& element : field.value) {
        auto tag = text({field.key, element}, context);
        if (!tag)
            return std::nullopt;
        tags.push_back(std::move(*tag));
    }
    return tags;
}

bool FlowReader::steps(const YAML::Node& list) {
    if (!list.IsNull() && !list.IsSequence()) {
        fail(list.Mark(), "expected the steps: a list such as `- launch`");
        return false;
    }
    for (const auto& node : list) {
        const bool oneKey = node.IsMap() && node.size() == 1 && node.begin()->first.IsScalar();
        if ((oneKey && node.begin()->first.Scalar() == RunFlow) || (node.IsScalar() && node.Scalar() == RunFlow)) {
            if (!runFlow(node))
                return false;
            continue;
        }
        if (oneKey && !substitute(node.begin()->second))
            return false;
        auto step = this->step(node);
        if (!step || !add(std::move(*step), node))
            return false;
    }
    return true;
}

bool FlowReader::add(Step step, const YAML::Node& node) {
    context_.launched = context_.launched || step.launches();
    if (!context_.launched && step.needsApp()) {
        fail(node.Mark(), std::string(step.name()) + ": needs a running app (add `- launch` before it)");
        return false;
    }
    if (context_.steps.size() == MaxSteps) {
        fail(node.Mark(), "more than " + std::to_string(MaxSteps) + " steps with those of the subflows");
        return false;
    }
    step.index = context_.steps.size();
    step.file = file_;
    context_.steps.push_back(std::move(step));
    return true;
}

bool FlowReader::runFlow(const YAML::Node& node) {
    constexpr const char* expected = "expected a flow file, {file: FILE, env: {...}, when: {true: ...}} or "
                                     "{commands: [...], env: {...}, when: {true: ...}}";
    if (node.IsScalar() || node.begin()->second.IsNull()) {
        fail(node.Mark(), std::string(RunFlow) + ": " + expected);
        return false;
    }
    const Field field{node.begin()->first, node.begin()->second};
    const auto line = static_cast<std::size_t>(field.key.Mark().line) + 1;
    // A runFlow whose condition does not hold adds no step, but aliases may repeat it.
    if (++context_.runFlows > MaxSteps) {
        fail(field.key.Mark(), "more than " + std::to_string(MaxSteps) + " runFlows in one flow");
        return false;
    }
    if (field.value.IsScalar()) {
        if (!substitute(field.value))
            return false;
        return subflow(field, {}, line);
    }
    auto map = fields(field.value, field.mark(), RunFlow, {"file", "commands", "env", "when"}, expected);
    if (!map)
        return false;
    if (map->count("file") + map->count("commands") != 1) {
        fail(field.mark(), std::string(RunFlow) + ": " + expected);
        return false;
    }
    // The steps of `commands` are read with the variables this runFlow gives.
    for (const char* key : {"file", "env", "when"})
        if (auto it = map->find(key); it != map->end() && !substitute(it->second.value))
            return false;
    if (auto when = map->find("when"); when != map->end()) {
        auto play = condition(when->second);
        if (!play)
            return false;
        if (!*play)
            return true;
    }
    Variables given;
    if (auto it = map->find("env"); it != map->end()) {
        auto env = this->env(it->second, "runFlow.env");
        if (!env)
            return false;
        given = std::move(*env);
    }
    if (auto it = map->find("file"); it != map->end())
        return subflow(it->second, given, line);

    const Field& commands = map->at("commands");
    if (!commands.value.IsSequence()) {
        fail(commands.mark(), "runFlow.commands: expected a list of steps");
        return false;
    }
    FlowReader inner(file_, context_, overlaid(given), substitution_);
    return inner.steps(commands.value) || failedWith(inner, 0);
}

std::optional<bool> FlowReader::condition(const Field& field) {
    constexpr const char* expected = "expected {true: VALUE}, such as {true: \"${MODE == 'panel'}\"}";
    if (field.value.IsMap())
        for (const auto& entry : field.value)
            if (entry.first.IsScalar() && entry.first.Scalar() != "true")
                return fail(entry.first.Mark(), "runFlow.when: `" + entry.first.Scalar() +
                                                    "` is not a condition here: a flow's steps are fixed when "
                                                    "it is read, so only `true` (a value known then) decides");
    auto map = fields(field.value, field.mark(), "runFlow.when", {"true"}, expected);
    if (!map)
        return std::nullopt;
    if (!map->count("true"))
        return fail(field.mark(), std::string("runFlow.when: ") + expected);
    const Field& value = map->at("true");
    if (value.value.IsScalar() && (value.value.Scalar() == "true" || value.value.Scalar() == "false"))
        return value.value.Scalar() == "true";
    return boolean(value, "runFlow.when.true");
}

bool FlowReader::subflow(const Field& field, const Variables& given, std::size_t line) {
    auto name = text(field, "runFlow");
    if (!name)
        return false;
    if (name->empty()) {
        fail(field.mark(), "runFlow: expected a flow file");
        return false;
    }
    // A path relative to the file that names it, as an include is.
    std::filesystem::path path(*name);
    if (path.is_relative())
        path = std::filesystem::path(file_).parent_path() / path;
    const std::string shown = path.lexically_normal().generic_string();
    std::error_code error;
    const std::string identity = std::filesystem::absolute(path, error).lexically_normal().string();

    auto open = std::find_if(context_.chain.begin(), context_.chain.end(),
                             [&](const OpenFile& file) { return file.identity == identity; });
    if (open != context_.chain.end()) {
        std::string cycle;
        for (auto it = open; it != context_.chain.end(); ++it)
            cycle += it->name + " runs ";
        fail(field.mark(), "runFlow: a cycle of subflows: " + cycle + shown + " again");
        return false;
    }
    if (context_.chain.size() > MaxNesting) {
        fail(field.mark(), "runFlow: subflows nested more than " + std::to_string(MaxNesting) + " deep");
        return false;
    }
    auto text = context_.options.readFile ? context_.options.readFile(shown)
                                          : support::Expected<std::string, std::string>(
                                                support::Unexpected(std::string("no such flow file")));
    if (!text) {
        fail(field.mark(), "runFlow: " + shown + ": " + text.error());
        return false;
    }

    FlowReader inner(shown, context_);
    context_.chain.push_back({identity, shown});
    bool read = inner.subflowText(*text, overlaid(given));
    context_.chain.pop_back();
    return read || failedWith(inner, line);
}

bool FlowReader::subflowText(std::string_view yaml, const Variables& over) {
    auto documents = this->documents(yaml);
    if (!documents)
        return false;
    if (documents->size() < 2) {
        variables_ = over;
        return documents->empty() || steps(documents->front());
    }
    // A subflow's header, when it has one, gives defaults for its variables, and may say
    // which app it is for; the device is the flow's to set up.
    const YAML::Node& header = (*documents)[0];
    if (!headerVariables(header, over))
        return false;
    if (header.IsMap())
        for (const auto& entry : header) {
            const std::string key = entry.first.IsScalar() ? entry.first.Scalar() : "";
            if (key == "ios" || key == "screen" || key == "settings" || key == "filter" || key == "install" ||
                key == "faults" || key == "content") {
                fail(entry.first.Mark(), "header: a subflow's header says only app, env and tags (`" + key +
                                             "` belongs in the header of the flow that runs it)");
                return false;
            }
        }
    auto map = fields(header.IsNull() ? YAML::Node(YAML::NodeType::Map) : header, header.Mark(), "header",
                      {"app", "env", "tags"}, "expected a map of app, env, tags");
    if (!map)
        return false;
    if (auto it = map->find("app"); it != map->end()) {
        auto app = text(it->second, "app");
        if (!app)
            return false;
        const apps::AppDescription* info = apps::findApp(*app);
        if (!info || info->bundleIdentifier != context_.app) {
            fail(it->second.mark(), "app: this subflow is for `" + *app + "`, and the flow that runs it plays " +
                                        context_.app);
            return false;
        }
    }
    if (auto it = map->find("tags"); it != map->end() && !tags(it->second, "tags"))
        return false;
    return steps((*documents)[1]);
}

bool FlowReader::failedWith(const FlowReader& inner, std::size_t line) {
    if (!error_) {
        error_ = inner.error();
        // Where a subflow was run from, as a compiler names where a file was included.
        if (line != 0)
            error_->message += " (run by " + file_ + ":" + std::to_string(line) + ")";
    }
    return false;
}

std::optional<Flow> FlowReader::read(std::string_view yaml) {
    auto documents = this->documents(yaml);
    if (!documents)
        return std::nullopt;
    if (documents->size() < 2)
        return fail(documents->empty() ? YAML::Mark() : documents->back().Mark(),
                    std::string("expected two YAML documents: ") + FlowShape);

    if (!headerVariables((*documents)[0], context_.options.variables))
        return std::nullopt;
    auto flow = header((*documents)[0]);
    if (!flow)
        return std::nullopt;
    context_.app = flow->app;
    if (!steps((*documents)[1]))
        return std::nullopt;
    flow->steps = std::move(context_.steps);
    flow->warnings = std::move(context_.warnings);
    flow->givenEnv = context_.options.variables;
    return flow;
}

} // namespace

support::Expected<std::string, std::string> readFlowFileFromDisk(const std::string& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return support::Unexpected(std::string("no such flow file"));
    std::ifstream in(file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return support::Unexpected(std::string("cannot be read"));
    return bytes;
}

support::Expected<Flow, ParseError> parseFlow(std::string_view yaml, const std::string& file,
                                              const FlowOptions& options) {
    FlowContext context(options);
    std::error_code error;
    context.chain.push_back({std::filesystem::absolute(file, error).lexically_normal().string(), file});
    FlowReader reader(file, context);
    auto flow = reader.read(yaml);
    if (!flow)
        return support::Unexpected(reader.error());
    return std::move(*flow);
}

support::Expected<Flow, ParseError> parseFlowFile(const std::string& file, const FlowOptions& options) {
    auto bytes = readFlowFileFromDisk(file);
    if (!bytes)
        return support::Unexpected(ParseError{file, 0, bytes.error()});
    if (options.readFile)
        return parseFlow(*bytes, file, options);
    FlowOptions fromDisk = options;
    fromDisk.readFile = readFlowFileFromDisk;
    return parseFlow(*bytes, file, fromDisk);
}

} // namespace sim
