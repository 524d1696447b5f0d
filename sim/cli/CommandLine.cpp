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
    // Only a write makes a device; reading or removing a key needs one already.
    auto device = action == PrefsAction::Set ? DeviceFolder::open(options.device, true)
                                             : DeviceFolder::openExisting(options.device);
    if (!device) {
        std::cerr << "lexorna-sim: " << device.error() << '\n';
        return 1;
    }
    device::Device::setRoot(device->path());
    objc::AutoreleasePool pool;
    switch (action) {
    case PrefsAction::Get: {
        auto value = readSetting(options.key);
        if (!value) {
            std::cerr << "lexorna-sim: " << value.error() << '\n';
            return 1;
        }
        if (!*value) {
            std::cerr << "lexorna-sim: " << options.key << " is not set\n";
            return 1;
        }
        std::cout << settingText(value->get()) << '\n';
        return 0;
    }
    case PrefsAction::Set:
    case PrefsAction::Unset: {
        auto done = action == PrefsAction::Set
                        ? writeSetting(options.key, settingValueFromArgument(options.value),
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
    std::vector<std::string_view> commands;
    for (const auto* command : app.get_subcommands({}))
        commands.push_back(command->get_name());
    if (std::string_view first = argv[1];
        !first.starts_with("-") && std::find(commands.begin(), commands.end(), first) == commands.end()) {
        std::cerr << "lexorna-sim: unknown command `" << first << "`" << didYouMean(first, commands)
                  << "; the commands are run, demo, apps and prefs (lexorna-sim --help)\n";
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
