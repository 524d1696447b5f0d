#include "sim/cli/CommandLine.h"
#include "sim/cli/DemoCommand.h"
#include "sim/cli/Prefs.h"
#include "sim/cli/RunCommand.h"
#include "sim/flow/NearestName.h"
#include "sim/play/Apps.h"
#include "sim/play/DeviceFolder.h"

#include "device/Device.h"
#include "objc/Autorelease.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>

#include <iostream>

namespace sim {

namespace {

struct PrefsOptions {
    std::string key;
    std::string value;
    std::filesystem::path device;
    bool binary = false;
};

enum class PrefsAction { Get, Set, Unset };

int prefs(PrefsAction action, const PrefsOptions& options) {
    objc::AutoreleasePool pool;
    // A value the settings pane could not write is refused before any device is made.
    auto value = action == PrefsAction::Set ? settingValueFor(options.key, options.value)
                                            : objc::Ref<objc::Object>();
    if (!value) {
        std::cerr << "lexorna-sim: " << value.error() << '\n';
        return 2;
    }
    // Only a write makes a device; reading or removing a key needs one already.
    auto device = action == PrefsAction::Set ? DeviceFolder::open(options.device, true)
                                             : DeviceFolder::openExisting(options.device);
    if (!device) {
        std::cerr << "lexorna-sim: " << device.error() << '\n';
        return 1;
    }
    device::Device::setRoot(device->path());
    switch (action) {
    case PrefsAction::Get: {
        auto setting = readSetting(options.key);
        if (!setting) {
            std::cerr << "lexorna-sim: " << setting.error() << '\n';
            return 1;
        }
        if (!*setting) {
            std::cerr << "lexorna-sim: " << options.key << " is not set\n";
            return 1;
        }
        std::cout << settingText(setting->get()) << '\n';
        return 0;
    }
    case PrefsAction::Set:
    case PrefsAction::Unset: {
        auto done = action == PrefsAction::Set
                        ? writeSetting(options.key, value->get(),
                                       options.binary ? PropertyListFormat::Binary : PropertyListFormat::Xml)
                        : removeSetting(options.key);
        if (!done) {
            std::cerr << "lexorna-sim: " << done.error() << '\n';
            return 1;
        }
        return 0;
    }
    }
    return 1;
}

// A mistyped command (`runn`) or prefs command (`prefs sett`), named with the nearest one.
std::optional<std::string> unknownCommand(const CLI::App& app, int argc, char** argv) {
    const CLI::App* parent = &app;
    std::string said = "lexorna-sim";
    for (int k = 1; k < argc && !std::string_view(argv[k]).starts_with("-"); ++k) {
        std::vector<std::string_view> names;
        for (const auto* command : parent->get_subcommands({}))
            names.push_back(command->get_name());
        if (names.empty())
            return std::nullopt;
        std::string_view word = argv[k];
        auto found = std::find(names.begin(), names.end(), word);
        if (found == names.end()) {
            std::string listed;
            for (std::size_t i = 0; i < names.size(); ++i)
                listed += std::string(i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + std::string(names[i]);
            std::string what = parent == &app ? "command" : std::string(parent->get_name()) + " command";
            return "unknown " + what + " `" + std::string(word) + "`" + didYouMean(word, names) + "; the " + what +
                   "s are " + listed + " (" + said + " --help)";
        }
        said += " " + std::string(word);
        parent = parent->get_subcommand(std::string(word));
    }
    return std::nullopt;
}

// Screenshots are drawn at this many pixels per point; 2 draws as most phones do.
void addScaleOption(CLI::App& command, double& scale) {
    command.add_option("--scale", scale, "Screenshot pixels per point")
        ->capture_default_str()
        ->check(CLI::Range(0.25, 8.0));
}

} // namespace

int runCommandLine(int argc, char** argv) {
    CLI::App app{"lexorna-sim: plays flows of user steps in simulated apps with Lexorna installed",
                 "lexorna-sim"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("lexorna-sim ") + LEXORNA_VERSION);
    int status = 0;

    RunOptions run;
    auto* runCommand = app.add_subcommand("run", "Play flow files and check their assertions");
    runCommand->add_option("flows", run.flows, "Flow files (YAML), or folders of them")->required();
    runCommand->add_option("--report", run.report,
                           "Write a JSON report to this file, and its page beside it");
    runCommand->add_option("--junit", run.junit, "Write JUnit XML to this file, one test case per flow");
    runCommand->add_option("--out", run.playback.out, "Folder for screenshots");
    runCommand->add_option("--device", run.playback.device, "Device folder kept between runs");
    runCommand->add_flag("--keep", run.playback.keep, "Keep the temporary device");
    runCommand->add_flag("--update-screenshots", run.playback.updateScreenshots,
                         "Write the saved pictures of assertScreenshot anew instead of comparing");
    runCommand->add_option("-e,--env", run.env, "A variable for ${NAME} in the flows: NAME=VALUE (repeatable)")
        ->expected(1)
        ->allow_extra_args(false)
        ->take_all();
    runCommand
        ->add_option("--include-tags", run.includeTags,
                     "Play only flows with one of these tags (a list: a,b)")
        ->delimiter(',')
        ->expected(1)
        ->allow_extra_args(false)
        ->take_all();
    runCommand->add_option("--exclude-tags", run.excludeTags, "Leave out flows with one of these tags (a list: a,b)")
        ->delimiter(',')
        ->expected(1)
        ->allow_extra_args(false)
        ->take_all();
    addScaleOption(*runCommand, run.playback.scale);
    runCommand->callback([&] { status = runFlows(run); });

    DemoOptions demo;
    auto* demoCommand = app.add_subcommand(
        "demo", "Play the ten demo flows: in each of WhatsApp, YouTube, Twitter, Instagram and Messages, "
                "the gesture on a message, its text selected and copied in the inline overlay, then in "
                "the panel with Share and Done; screenshots, report.json and report.html go to --out");
    demoCommand->add_option("--out", demo.out, "Folder for screenshots and the report")
        ->capture_default_str();
    addScaleOption(*demoCommand, demo.scale);
    demoCommand->callback([&] { status = runDemo(demo); });

    app.add_subcommand("apps", "List the simulated apps")->callback([] { printApps(std::cout); });

    PrefsOptions prefsOptions;
    auto* prefsCommand = app.add_subcommand("prefs", "Read or write the settings file of a device");
    prefsCommand->require_subcommand(1);
    auto addPrefs = [&](const char* name, const char* description, PrefsAction action) {
        auto* command = prefsCommand->add_subcommand(name, description);
        command->add_option("key", prefsOptions.key, "Settings key")->required();
        if (action == PrefsAction::Set) {
            command
                ->add_option("value", prefsOptions.value,
                             "true/false, a number, or a text (quote it to keep it a text)")
                ->required();
            command->add_flag("--binary", prefsOptions.binary, "Write a binary property list");
        }
        command->add_option("--device", prefsOptions.device, "Device folder")->required();
        command->callback([&, action] { status = prefs(action, prefsOptions); });
    };
    addPrefs("get", "Print a key's value (exit status 1 when it is unset)", PrefsAction::Get);
    addPrefs("set", "Set a key (XML unless --binary)", PrefsAction::Set);
    addPrefs("unset", "Remove a key", PrefsAction::Unset);

    // Bare, it says what it can do, as most tools do.
    if (argc <= 1) {
        std::cout << app.help();
        return 0;
    }
    if (auto unknown = unknownCommand(app, argc, argv)) {
        std::cerr << "lexorna-sim: " << *unknown << '\n';
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Usage errors share the status of a flow that does not parse: the input is wrong.
        return app.exit(error) == 0 ? 0 : 2;
    }
    return status;
}

} // namespace sim
