// lexorna-sim as people run it: exit statuses, result lines, the report file and its page,
// the settings file through `prefs`, `demo`, and folders that cannot be used, named before
// anything plays.

#include "FileBytes.h"
#include "PngImage.h"
#include "Simulator.h"

#include "foundation/PropertyList.h"

#include <map>
#include <regex>
#include <set>

namespace {

class CommandLineTest : public testing::Test {
protected:
    Simulated simulate(const std::string& arguments) { return simulator_.run(arguments); }
    std::string flow(const std::string& name, const std::string& yaml) {
        return simulator_.folder().write(name, yaml).string();
    }
    std::string device() const { return (temp_.path() / "device").string(); }
    std::string settingsFile() const {
        return temp_.read("device/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist");
    }

    Simulator simulator_;
    const TemporaryFolder& temp_ = simulator_.folder();
};

const std::string Passing = R"(app: twitter
install: false
---
- launch
- assertFile: {path: ~/Documents, exists: true}
- dump: start
)";

} // namespace

namespace {

// The test cases of a JUnit file as name -> failure message ("" for a pass). Every `<`
// and `&` of a name or message must come escaped, so none may stand inside a value.
std::map<std::string, std::string> junitCases(const std::string& xml) {
    static const std::regex testcase(R"re(<testcase classname="[^"<&]*" name="([^"<]*)"[^<>]*>\s*)re"
                                     R"re((<failure message="([^"<]*)")?)re");
    std::map<std::string, std::string> cases;
    for (std::sregex_iterator it(xml.begin(), xml.end(), testcase), end; it != end; ++it)
        cases[(*it)[1]] = std::regex_replace((*it)[3].str(), std::regex("&quot;"), "\"");
    return cases;
}

} // namespace

TEST_F(CommandLineTest, AFlowThatDoesNotParseStopsTheRunWithStatus2) {
    std::string good = flow("good.yaml", Passing);
    std::string bad = flow("bad.yaml", "app: twitter\n---\n- launch\n- assertVisible: [1]\n");
    Simulated outcome = simulate("run " + good + " " + bad);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err,
              bad + ":4: assertVisible: expected a selector (a string or a map of id, text, class, "
                    "madeBy, index)\n");
    EXPECT_EQ(outcome.out, "") << "nothing plays when any flow is malformed";

    outcome = simulate("run " + (temp_.path() / "absent.yaml").string());
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("absent.yaml: no such flow file"), std::string::npos) << outcome.err;
}

TEST_F(CommandLineTest, AFlowThatDoesNotParseIsAFailedCaseOfTheReportAndJunit) {
    temp_.write("a-good.yaml", Passing);
    temp_.write("b-bad.yaml", "app: twitter\n---\n- launch\n- tapOn: {id: a, repeat: 0}\n");
    Simulated outcome = simulate("run a-good.yaml b-bad.yaml --report out/report.json --junit out/junit.xml");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "") << "nothing plays";
    const std::string why = "b-bad.yaml:4: tapOn.repeat: expected a whole number from 1 to 10";
    EXPECT_EQ(outcome.err, why + "\n");

    auto report = Json::parse(temp_.read("out/report.json"));
    ASSERT_EQ(report["flows"].size(), 2u);
    EXPECT_EQ(report["flows"][0]["skipped"], "not played: b-bad.yaml does not parse");
    EXPECT_EQ(report["flows"][1]["ok"], false);
    EXPECT_EQ(report["flows"][1]["error"], why);
    const std::string xml = temp_.read("out/junit.xml");
    auto cases = junitCases(xml);
    EXPECT_EQ(cases["b-bad.yaml"], why);
    EXPECT_NE(xml.find("tests=\"2\" failures=\"1\" skipped=\"1\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<skipped message=\"not played: b-bad.yaml does not parse\"/>"), std::string::npos)
        << xml;
    EXPECT_NE(temp_.read("out/report.html").find("<span class=\"badge failed\">failed</span> b-bad.yaml"),
              std::string::npos);
}

TEST_F(CommandLineTest, PassingAndFailingFlowsPrintOneLineEachAndSetTheStatus) {
    std::string good = flow("good.yaml", Passing);
    std::string failing = flow(
        "failing.yaml", "app: twitter\ninstall: false\n---\n- launch\n- assertFile: {path: ~/x, text: y}\n");
    std::string report = (temp_.path() / "report.json").string();

    Simulated outcome = simulate("run " + good + " --report " + report + " --device " + device());
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "ok   " + good + " (3 steps)\n1 passed, 0 failed\n")
        << "quiet progress when piped";

    outcome = simulate("run " + good + " " + failing + " --report " + report);
    EXPECT_EQ(outcome.status, 1);
    // The file is named as the flow names it and where it lies on this machine.
    EXPECT_TRUE(std::regex_match(
        outcome.out, std::regex("ok   " + good + " \\(3 steps\\)\nFAIL " + failing +
                                ":5: assertFile: \\{path: ~/x, text: \"y\"\\}: ~/x \\(/.*/var/mobile/"
                                "Containers/Data/Application/[0-9A-F-]+/x\\) does not exist\n1 passed, "
                                "1 failed\n")))
        << outcome.out;

    const Json& json = outcome.report;
    ASSERT_EQ(json["flows"].size(), 2u);
    const auto& first = json["flows"][0];
    EXPECT_EQ(first["file"], good);
    EXPECT_EQ(first["ok"], true);
    EXPECT_EQ(first["assertions"], Json({{"passed", 1}, {"failed", 0}}));
    // What each step and launch holds is the session tests' to read.
    const auto& launch = first["launches"][0];
    EXPECT_EQ(launch["bundleId"], "com.atebits.Tweetie2");
    EXPECT_EQ(launch["steps"][1]["index"], 1);
    EXPECT_EQ(launch["snapshots"][0]["label"], "start");
    EXPECT_EQ(json["flows"][1]["assertions"]["failed"], 1);
}

TEST_F(CommandLineTest, PrefsRoundTrip) {
    // Reading a folder that is no device says so and makes none.
    Simulated outcome = simulate("prefs get Aw --device " + device());
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "lexorna-sim: " + device() +
                               " is not a device (lexorna-sim run --device or prefs set makes one)\n");
    EXPECT_FALSE(std::filesystem::exists(device()));

    ASSERT_EQ(simulate("prefs set Aw true --device " + device()).status, 0);
    EXPECT_TRUE(settingsFile().starts_with("<?xml")) << "XML unless asked otherwise";
    EXPECT_NE(settingsFile().find("<key>Aw</key>\n\t<true/>"), std::string::npos);

    ASSERT_EQ(simulate("prefs set Count 2 --binary --device " + device()).status, 0);
    EXPECT_TRUE(settingsFile().starts_with("bplist00"));

    EXPECT_EQ(simulate("prefs get Aw --device " + device()).out, "true\n");
    EXPECT_EQ(simulate("prefs get Count --device " + device()).out, "2\n");

    ASSERT_EQ(simulate("prefs unset Count --device " + device()).status, 0);
    outcome = simulate("prefs get Count --device " + device());
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "lexorna-sim: Count is not set\n");
    EXPECT_EQ(simulate("prefs get Aw --device " + device()).out, "true\n");
    EXPECT_TRUE(settingsFile().starts_with("bplist00")) << "unset keeps the file's format";

    // A file larger than a host reads would be no settings at all: refused, the file kept.
    const std::string kept = settingsFile();
    outcome = simulate("prefs set Note " + std::string(PropertyListLimits{}.maxBytes, 'x') + " --device " +
                       device());
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("a host reads"), std::string::npos) << outcome.err;
    EXPECT_EQ(settingsFile(), kept);

    // A damaged file is left for the user to look at, not overwritten.
    temp_.write("device/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist", "<?xml broken");
    outcome = simulate("prefs set Aw false --device " + device());
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("not a property list"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find(device() + "/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist"),
              std::string::npos)
        << "the file is named where it lies on this machine too: " << outcome.err;
    EXPECT_EQ(settingsFile(), "<?xml broken");
}

TEST_F(CommandLineTest, PrefsSetWritesTheSwitchesOfTheSettingsPaneAsBooleansAsThePaneDoes) {
    for (const auto& [typed, stored] : std::vector<std::pair<std::string, std::string>>{{"yes", "<true/>"},
                                                                                        {"NO", "<false/>"},
                                                                                        {"True", "<true/>"},
                                                                                        {"false", "<false/>"},
                                                                                        {"1", "<true/>"},
                                                                                        {"0", "<false/>"}}) {
        ASSERT_EQ(simulate("prefs set WACustomView " + typed + " --device " + device()).status, 0) << typed;
        EXPECT_NE(settingsFile().find("<key>WACustomView</key>\n\t" + stored), std::string::npos) << typed;
    }
    EXPECT_EQ(simulate("prefs get WACustomView --device " + device()).out, "false\n");

    // Anything else the pane could not have written, and nothing is made or changed.
    const std::string fresh = (temp_.path() / "fresh").string();
    Simulated refused = simulate("prefs set Aw maybe --device " + fresh);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err,
              "lexorna-sim: Aw is a switch of the settings pane: expected yes or no, true or false, "
              "1 or 0, not `maybe`\n");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(simulate("prefs set MECustomView \"yes\" --device " + device()).status, 0)
        << "quotes the shell takes away leave a switch's yes";
    EXPECT_EQ(simulate("prefs set MECustomView \"'yes'\" --device " + device()).status, 2);

    // Keys the pane does not know keep what was typed.
    ASSERT_EQ(simulate("prefs set Greeting yes --device " + device()).status, 0);
    EXPECT_NE(settingsFile().find("<key>Greeting</key>\n\t<string>yes</string>"), std::string::npos);
}

TEST_F(CommandLineTest, PrefsSetPreparesARunOnTheDeviceLikeASettingsPane) {
    ASSERT_EQ(simulate("prefs set Aw true --device " + device()).status, 0);
    ASSERT_EQ(simulate("prefs set WhatsApp true --device " + device()).status, 0);
    // No settings in the header: the device's own file stands, and Lexorna shows the overlay.
    std::string overlay = flow("overlay.yaml", R"(app: whatsapp
content: {messages: ["Hello there"]}
---
- launch
- doubleTapOn: {id: message-1}
- assertVisible: {class: UITextView, text: "Hello there", madeBy: Lexorna}
)");
    Simulated outcome = simulate("run " + overlay + " --device " + device());
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_EQ(simulate("prefs get WhatsApp --device " + device()).out, "true\n");
    // A temporary device starts without any settings file: nothing is shown.
    EXPECT_EQ(simulate("run " + overlay).status, 1);
}

TEST_F(CommandLineTest, AppsListsTheSimulatedApps) {
    Simulated outcome = simulate("apps");
    EXPECT_EQ(outcome.status, 0);
    for (const char* line :
         {"whatsapp   net.whatsapp.WhatsApp", "messages   com.apple.MobileSMS", "views:   chat, message-N",
          "classes: WAChatViewController, WAMessageContainerView"})
        EXPECT_NE(outcome.out.find(line), std::string::npos) << line;
}

TEST_F(CommandLineTest, RunTakesAFolderAndWritesJunitWithEveryTextEscaped) {
    temp_.write("flows/b-failing.yaml",
                "app: twitter\ninstall: false\n---\n- launch\n- assertPasteboard: \"<&>\"\n");
    temp_.write("flows/a-good.yaml", Passing);
    temp_.write("flows/notes.txt", "not a flow");
    Simulated outcome = simulate("run " + (temp_.path() / "flows").string() + " --junit " +
                                 (temp_.path() / "junit.xml").string());
    EXPECT_EQ(outcome.status, 1);
    const std::string folder = (temp_.path() / "flows").string();
    EXPECT_EQ(outcome.out.rfind("ok   " + folder + "/a-good.yaml", 0), 0u) << "in name order:\n"
                                                                           << outcome.out;
    EXPECT_NE(outcome.out.find("\nFAIL " + folder + "/b-failing.yaml:5: "), std::string::npos) << outcome.out;

    const std::string xml = temp_.read("junit.xml");
    auto cases = junitCases(xml);
    ASSERT_EQ(cases.size(), 2u) << xml;
    EXPECT_EQ(cases[folder + "/a-good.yaml"], "");
    EXPECT_EQ(cases[folder + "/b-failing.yaml"].rfind(
                  folder + "/b-failing.yaml:5: assertPasteboard: \"&lt;&amp;&gt;\"", 0),
              0u)
        << xml;
    EXPECT_EQ(xml.find("<&>"), std::string::npos) << "the failure's text is escaped too";

    EXPECT_EQ(simulate("run " + (temp_.path() / "flows" / "missing").string()).status, 2);
}

TEST_F(CommandLineTest, TwoScreenshotsOfOneNameInARunAreRefusedBeforeAnythingPlays) {
    const std::string shot = "app: twitter\ninstall: false\n---\n- launch\n- takeScreenshot: chat\n";
    std::string first = flow("first.yaml", shot), second = flow("second.yaml", shot);
    Simulated outcome = simulate("run " + first + " " + second + " --out " + temp_.path().string());
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, second + ":5: takeScreenshot: `chat` is taken already at " + first +
                               ":5 (each screenshot of a run needs a name of its own)\n");
    EXPECT_FALSE(std::filesystem::exists(temp_.path() / "chat.png"));
}

TEST_F(CommandLineTest, BareItPrintsItsHelpAndAMistypedCommandIsNamed) {
    Simulated bare = simulate("");
    EXPECT_EQ(bare.status, 0);
    EXPECT_NE(bare.out.find("Usage: lexorna-sim"), std::string::npos) << bare.out;
    EXPECT_NE(bare.out.find("run"), std::string::npos);
    Simulated version = simulate("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("lexorna-sim ", 0), 0u);
    EXPECT_EQ(simulate("frobnicate").err.find("did you mean"), std::string::npos) << "no name is near";
    Simulated mistyped = simulate("runn x.yaml");
    EXPECT_EQ(mistyped.status, 2);
    EXPECT_EQ(mistyped.err.rfind("lexorna-sim: unknown command `runn` (did you mean `run`?)", 0), 0u)
        << mistyped.err;
    mistyped = simulate("prefs sett Aw yes --device " + device());
    EXPECT_EQ(mistyped.status, 2);
    EXPECT_EQ(mistyped.err,
              "lexorna-sim: unknown prefs command `sett` (did you mean `set`?); the prefs commands "
              "are get, set and unset (lexorna-sim prefs --help)\n");
    EXPECT_FALSE(std::filesystem::exists(device()));
}

namespace {

// The demo's flows as it names them: each example flow in both modes.
std::vector<std::string> exampleFlows() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(LEXORNA_EXAMPLE_FLOWS))
        if (entry.path().extension() == ".yaml")
            for (const char* mode : {"inline", "panel"})
                names.push_back("examples/flows/" + entry.path().filename().string() + " -e MODE=" + mode);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> imageSources(const std::string& page) {
    static const std::regex image("<img src=\"([^\"]*)\"");
    std::vector<std::string> sources;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), image); it != std::sregex_iterator(); ++it)
        sources.push_back((*it)[1]);
    return sources;
}

const std::string ScreenshotFlow = R"(app: whatsapp
settings:
  values: {Aw: true, WhatsApp: true}
content:
  messages: ["Hello there"]
---
- launch
- takeScreenshot: chat
)";

} // namespace

TEST_F(CommandLineTest, DemoPlaysEveryExampleFlowFromAnyFolderWithItsReportAndPage) {
    Simulated outcome = simulate("demo");
    EXPECT_EQ(outcome.status, 0) << outcome.out << outcome.err;

    // One line per flow, quiet progress when piped, the count, then where the page is.
    const auto folder = temp_.path() / "lexorna-demo";
    std::string expected;
    for (const auto& flow : exampleFlows())
        expected += "ok   " + flow + " (";
    std::string lines = std::regex_replace(outcome.out, std::regex("\\d+ steps\\)\n"), "");
    EXPECT_EQ(lines, expected + std::to_string(exampleFlows().size()) +
                         " passed, 0 failed\nreport: " + (folder / "report.html").string() + "\n");

    auto report = nlohmann::json::parse(temp_.read("lexorna-demo/report.json"));
    ASSERT_EQ(report["flows"].size(), exampleFlows().size());
    for (const auto& flow : report["flows"])
        EXPECT_TRUE(flow["ok"]) << flow["file"];

    // Every picture the page shows is beside it, and no two flows share one.
    auto sources = imageSources(temp_.read("lexorna-demo/report.html"));
    EXPECT_FALSE(sources.empty());
    EXPECT_EQ(std::set<std::string>(sources.begin(), sources.end()).size(), sources.size());
    for (const auto& source : sources)
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / source)) << source;
}

TEST_F(CommandLineTest, RunWritesThePageBesideItsReportFailuresFirstWithTheirPicture) {
    temp_.write("shot.yaml", ScreenshotFlow);
    temp_.write("failing.yaml", std::regex_replace(ScreenshotFlow, std::regex("chat\n"), "chat-again\n") +
                                    "- assertPasteboard: \"never copied\"\n");
    temp_.write("plain.yaml", "app: twitter\ninstall: false\n---\n- launch\n");

    // The page links the screenshots where --out put them; a failing flow fails the run.
    Simulated outcome =
        simulate("run shot.yaml failing.yaml --report reports/run.json --out shots --scale 1");
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    std::string page = temp_.read("reports/run.html");
    // The failed flow comes first and open, with the screen as it was at its failure.
    auto sources = imageSources(page);
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(sources[0], "../shots/chat-again.png");
    EXPECT_EQ(sources[1].rfind("../shots/failing-line-", 0), 0u) << sources[1];
    EXPECT_TRUE(std::filesystem::exists(temp_.path() / "shots" / sources[1].substr(9)));
    EXPECT_EQ(sources[2], "../shots/chat.png");
    EXPECT_LT(
        page.find("<details open>\n<summary><h2><span class=\"badge failed\">failed</span> failing.yaml"),
        page.find("<span class=\"badge ok\">ok</span> shot.yaml"));
    auto shot = PngImage::read(temp_.path() / "shots/chat.png");
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->width, 390) << "drawn at one pixel per point";

    // A page without a single screenshot still comes with its report.
    EXPECT_EQ(simulate("run plain.yaml --report plain.json").status, 0);
    EXPECT_TRUE(std::filesystem::exists(temp_.path() / "plain.json"));
    EXPECT_TRUE(std::filesystem::exists(temp_.path() / "plain.html"));

    EXPECT_EQ(simulate("run shot.yaml --scale 0").status, 2) << "a scale that draws nothing is refused";
}

TEST_F(CommandLineTest, FoldersThatCannotBeUsedAreNamedBeforeAnythingPlays) {
    const std::string file = temp_.write("taken", "a file, not a folder").string();
    temp_.write("shot.yaml", ScreenshotFlow);

    const std::pair<std::string, std::string> refusals[] = {
        {"run shot.yaml --device taken", "cannot use taken as a device: not a folder\n"},
        {"run shot.yaml --out taken/shots", "cannot write screenshots to " + file + "/shots: "},
        {"demo --out taken", "cannot write the demo to " + file + ": "},
    };
    for (const auto& [arguments, error] : refusals) {
        Simulated outcome = simulate(arguments);
        EXPECT_EQ(outcome.status, 1) << arguments;
        EXPECT_EQ(outcome.err.rfind("lexorna-sim: " + error, 0), 0u) << outcome.err;
        EXPECT_EQ(outcome.out, "") << arguments;
    }
    EXPECT_EQ(temp_.read("taken"), "a file, not a folder");
}

TEST_F(CommandLineTest, SubflowsVariablesAndTagsShowInTheLinesTheReportAndJunit) {
    temp_.write("flows/shared/check.yaml",
                R"(# Checks that a folder of the app's home exists, and takes a snapshot.
- assertFile:
    path: ~/${FOLDER}
    exists: true
- dump: ${LABEL}
)");
    temp_.write("flows/a-library.yaml", R"(app: twitter
install: false
tags: [smoke]
env: {FOLDER: Documents}
---
- launch
- runFlow: {file: shared/check.yaml, env: {LABEL: first}}
)");
    // A runFlow's own env wins over the command line.
    temp_.write("flows/b-nowhere.yaml", R"(app: twitter
install: false
tags: [smoke]
---
- launch
- runFlow: {file: shared/check.yaml, env: {FOLDER: Nowhere, LABEL: never}}
)");
    temp_.write("flows/c-untagged.yaml", "app: twitter\ninstall: false\n---\n- launch\n");
    temp_.write("flows/d-slow.yaml", "app: twitter\ninstall: false\ntags: [slow, smoke]\n---\n- launch\n");

    // Each option takes one value, before the flows or after them.
    Simulated outcome = simulate("run -e FOLDER=Library --include-tags smoke,other flows --exclude-tags slow "
                                 "--report report.json --junit junit.xml");
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_TRUE(std::regex_match(
        outcome.out,
        std::regex(
            "ok   flows/a-library.yaml -e FOLDER=Library \\(3 steps\\)\n"
            "FAIL flows/b-nowhere.yaml -e FOLDER=Library: flows/shared/check.yaml:2: assertFile: "
            "\\{path: ~/Nowhere, exists: true\\}: ~/Nowhere \\(/.*\\) does not exist\n"
            "skip flows/c-untagged.yaml -e FOLDER=Library: it has no tags, none of --include-tags smoke, "
            "other\n"
            "skip flows/d-slow.yaml -e FOLDER=Library: it is tagged slow \\(--exclude-tags slow\\)\n"
            "1 passed, 1 failed, 2 skipped\n")))
        << outcome.out;

    // The report names each step where it is written, and says what was not played.
    const Json& flows = outcome.report["flows"];
    ASSERT_EQ(flows.size(), 4u);
    EXPECT_EQ(flows[0]["env"], Json({{"FOLDER", "Library"}}));
    const Json& checked = flows[0]["launches"][0]["steps"][1];
    EXPECT_EQ(checked["file"], "flows/shared/check.yaml");
    EXPECT_EQ(checked["line"], 2);
    EXPECT_EQ(checked["text"], "assertFile: {path: ~/Library, exists: true}") << "-e over the header's env";
    EXPECT_EQ(flows[0]["launches"][0]["steps"][0]["file"], "flows/a-library.yaml");
    EXPECT_EQ(flows[0]["launches"][0]["snapshots"][0]["label"], "first");
    EXPECT_EQ(flows[1]["launches"][0]["steps"][1]["error"].get<std::string>().rfind("~/Nowhere (", 0), 0u);
    EXPECT_EQ(flows[2]["skipped"], "it has no tags, none of --include-tags smoke, other");
    EXPECT_EQ(flows[3]["launches"], Json::array());

    const std::string xml = temp_.read("junit.xml");
    auto cases = junitCases(xml);
    ASSERT_EQ(cases.size(), 4u) << xml;
    EXPECT_EQ(cases["flows/a-library.yaml -e FOLDER=Library"], "");
    EXPECT_EQ(cases["flows/b-nowhere.yaml -e FOLDER=Library"].rfind(
                  "flows/shared/check.yaml:2: assertFile: {path: ~/Nowhere, exists: true}: ", 0),
              0u)
        << xml;
    EXPECT_NE(xml.find("tests=\"4\" failures=\"1\" skipped=\"2\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<skipped message=\"it is tagged slow (--exclude-tags slow)\"/>"), std::string::npos);

    // A subflow that cannot be played is named with the step that runs it; so is a bad -e.
    temp_.write("cycle.yaml", "app: twitter\ninstall: false\n---\n- launch\n- runFlow: cycle.yaml\n");
    outcome = simulate("run cycle.yaml");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "cycle.yaml:5: runFlow: a cycle of subflows: cycle.yaml runs cycle.yaml again\n");
    outcome = simulate("run flows/a-library.yaml -e FOLDER");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err,
              "lexorna-sim: -e FOLDER: expected NAME=VALUE, a NAME of letters, digits and `_`\n");
}

TEST_F(CommandLineTest, ASwitchThatHoldsNoBooleanIsPlayedAsItIsAndWarnedOf) {
    // "yes" is what boolValue reads as on: Lexorna shows its overlay.
    std::string file = flow("yes.yaml", R"(app: whatsapp
settings:
  values: {Aw: "yes", WhatsApp: true}
content: {messages: ["Hello there"]}
---
- launch
- doubleTapOn: {id: message-1}
- assertVisible: {class: UITextView, text: "Hello there", madeBy: Lexorna}
)");
    Simulated outcome = simulate("run " + file + " --report report.json");
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    const std::string warning = file +
                                ":3: settings.values.Aw: the text \"yes\", not a boolean; Lexorna reads "
                                "it as on (NSString's boolValue)";
    EXPECT_EQ(outcome.err, "warning: " + warning + "\n");
    EXPECT_EQ(outcome.report["flows"][0]["warnings"], Json::array({warning}));
    EXPECT_NE(
        temp_.read("report.html").find("<p class=\"warning\">Warning: " + file + ":3: settings.values.Aw"),
        std::string::npos);
}

// The examples assert what only Lexorna makes: with Lexorna off every one of them fails
// in both modes, rather than passing on the app's own views.
TEST_F(CommandLineTest, EveryExampleFlowFailsWithLexornaOff) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(LEXORNA_EXAMPLE_FLOWS)) {
        if (!entry.is_regular_file())
            continue;
        auto relative = std::filesystem::relative(entry.path(), LEXORNA_EXAMPLE_FLOWS).string();
        std::string yaml = contentsOf(entry.path());
        if (relative.find('/') == std::string::npos) {
            ASSERT_NE(yaml.find("Aw: true"), std::string::npos) << relative;
            yaml.replace(yaml.find("Aw: true"), 8, "Aw: false");
        }
        flow("off/" + relative, yaml);
    }
    for (const char* mode : {"inline", "panel"}) {
        SCOPED_TRACE(mode);
        Simulated played = simulate(std::string("run off -e MODE=") + mode + " --report report.json");
        EXPECT_EQ(played.status, 1) << played.out << played.err;
        ASSERT_EQ(played.report.at("flows").size(), 5u);
        for (const auto& flow : played.report["flows"])
            EXPECT_FALSE(flow.at("ok").get<bool>()) << flow.at("file");
    }
}
