// Reading flow files: what each step and header key becomes, and where and why a
// malformed flow is refused.

#include "sim/flow/FlowParser.h"

#include <gtest/gtest.h>

#include <map>

using namespace sim;

namespace {

Flow parsed(const std::string& yaml) {
    auto flow = parseFlow(yaml, "flows/x.yaml");
    EXPECT_TRUE(flow) << (flow ? "" : flow.error().text());
    return flow ? std::move(*flow) : Flow{};
}

std::string errorOf(const std::string& yaml) {
    auto flow = parseFlow(yaml, "flows/x.yaml");
    EXPECT_FALSE(flow) << "parsed: " << yaml;
    return flow ? "" : flow.error().text();
}

const std::string Header = "app: whatsapp\n---\n";

} // namespace

TEST(FlowParser, MalformedFlowsNameFileLineAndWhatWasExpected) {
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: [1, 2]\n"),
              "flows/x.yaml:4: tapOn: expected a selector (a string or a map of id, text, class, madeBy, index)");
    EXPECT_EQ(errorOf(Header + "- launch\n\n- tapon: Hello\n").substr(0, 60),
              "flows/x.yaml:5: unknown step `tapon` (did you mean `tapOn`?)");
    // Names from the flow tools testers know point to the names here.
    EXPECT_EQ(errorOf(Header + "- launchApp\n").substr(0, 65),
              "flows/x.yaml:3: unknown step `launchApp` (did you mean `launch`?)");
    EXPECT_EQ(errorOf("appId: whatsapp\n---\n").substr(0, 65),
              "flows/x.yaml:1: header: unknown key `appId` (did you mean `app`?)");
    EXPECT_EQ(errorOf("app: whatsapp\nscreen: 390\n---\n"),
              "flows/x.yaml:2: screen: expected [width, height] in points");
    // Broken YAML is reported where yaml-cpp stopped.
    EXPECT_EQ(errorOf("app: whatsapp\n---\n- launch\n- tapOn: {id: [chat\n").substr(0, 34),
              "flows/x.yaml:5: invalid YAML: end ");
    // ... with what the person most likely wrote, which is often lines before that.
    EXPECT_EQ(errorOf("app: whatsapp\n- launch\n"),
              "flows/x.yaml:2: invalid YAML: end of map not found; a line is indented unlike the lines "
              "before it, or the `---` between the header and the steps is missing");
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: [a\n- copy\n"),
              "flows/x.yaml:6: invalid YAML: end of sequence flow not found; a `[` before here is not "
              "closed by `]`");
    EXPECT_EQ(errorOf("app: whatsapp\n"),
              "flows/x.yaml:1: expected two YAML documents: a flow is a header, `---`, then the steps");
    // yaml-cpp alone would make empty documents of a stray `,` until memory ran out.
    EXPECT_EQ(errorOf(Header + "- launch\n, copy\n"),
              "flows/x.yaml:4: invalid YAML: a `,` outside `[...]` or `{...}`");
}

TEST(FlowParser, StepArgumentsAreCheckedWhereTheyStand) {
    // A step left without its value is reported at the step, not where the next one starts.
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn:\n- copy\n"),
              "flows/x.yaml:4: tapOn: expected a selector (a string or a map of id, text, class, madeBy, index)");
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: {id: a, repeat: 0}\n"),
              "flows/x.yaml:4: tapOn.repeat: expected a whole number from 1 to 10");
    EXPECT_EQ(errorOf(Header + "- launch\n- assertVisible: {id: a, repeat: 2}\n").substr(0, 56),
              "flows/x.yaml:4: assertVisible: unknown key `repeat` (exp");
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: {index: 2}\n"),
              "flows/x.yaml:4: tapOn: a selector names at least an id, a text, a class or madeBy");
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: a\n  doubleTapOn: b\n").substr(0, 31),
              "flows/x.yaml:4: expected a step");
    EXPECT_EQ(errorOf(Header + "- launch\n- takeScreenshot: ../escape\n").substr(0, 46),
              "flows/x.yaml:4: takeScreenshot: expected a fil");
    // Only the disk can be touched before the app runs.
    EXPECT_EQ(errorOf(Header + "- setSettings: {raw: x}\n- tapOn: Hello\n"),
              "flows/x.yaml:4: tapOn: needs a running app (add `- launch` before it)");
}

TEST(FlowParser, HeaderValues) {
    Flow flow = parsed(R"(app: youtube
ios: 13.10
screen: [320, 568.5]
filter: none
install: false
faults: {diskFull: true, readOnly: ["~/Library", /var/mobile]}
content:
  comments: ["Hello", null, 2]
  rootPresents: [UIViewController]
---
)");
    EXPECT_EQ(flow.app, "com.google.ios.youtube");
    EXPECT_EQ(flow.ios, "13.10") << "a version is taken as written, not as a number";
    EXPECT_EQ(flow.screen.height, 568.5);
    EXPECT_FALSE(flow.filter);
    EXPECT_FALSE(flow.install);
    EXPECT_TRUE(flow.faults.diskFull);
    EXPECT_EQ(flow.faults.readOnly, (std::vector<std::string>{"~/Library", "/var/mobile"}));
    EXPECT_EQ(errorOf("app: whatsapp\nfaults: {readOnly: ~/Library}\n---\n"),
              "flows/x.yaml:2: faults.readOnly: expected a list of device folders, such as [\"~/Library\"]");
    EXPECT_EQ(flow.content["comments"], nlohmann::json::parse(R"(["Hello", null, 2])"));
    EXPECT_EQ(
        errorOf("app: whatsapp\ncontent:\n  mesages: [Hi]\n---\n"),
        "flows/x.yaml:3: content: whatsapp shows no `mesages` (did you mean `messages`?) (expected messages, "
        "rootPresents, drift)");
    EXPECT_EQ(errorOf("app: youtube\ncontent: {comments: Hi}\n---\n"),
              "flows/x.yaml:2: content.comments: expected a list, such as [\"Hello\", null]");
    EXPECT_EQ(flow.content["rootPresents"][0], "UIViewController");

    EXPECT_EQ(parsed("app: messages\nfilter: {raw: \"<plist\"}\n---\n").filter, "<plist");
    EXPECT_EQ(parsed("app: net.whatsapp.WhatsApp\n---\n").app, "net.whatsapp.WhatsApp");
    EXPECT_EQ(errorOf("app: skype\n---\n"), "flows/x.yaml:1: app: unknown app `skype` (expected whatsapp, "
                                            "youtube, twitter, instagram, messages or their bundle ids)");
}

// How each scalar is typed is the YAML reader's test; here, that each type keeps its
// property-list form.
TEST(FlowParser, SettingsValuesKeepTheirYamlTypes) {
    Flow flow = parsed(R"(app: whatsapp
settings:
  values: {Aw: true, Count: 2, Text: "2", Ratio: 2.5, List: [1, "a"]}
---
)");
    ASSERT_TRUE(flow.settings);
    const std::string& xml = *flow.settings;
    EXPECT_NE(xml.find("<key>Aw</key>\n\t<true/>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<key>Count</key>\n\t<integer>2</integer>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<key>Text</key>\n\t<string>2</string>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<key>Ratio</key>\n\t<real>2.5</real>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<key>List</key>\n\t<array>\n\t\t<integer>1</integer>\n\t\t<string>a</string>"),
              std::string::npos)
        << xml;
}

TEST(FlowParser, SettingsInEveryForm) {
    Flow flow = parsed(R"(app: whatsapp
settings: {format: binary, values: [1]}
---
- setSettings: {base64: "YnBsaXN0
    MDA="}
- setSettings: {raw: "<?xml broken"}
)");
    EXPECT_TRUE(flow.settings->starts_with("bplist00"));
    EXPECT_EQ(flow.steps[0].text(), "bplist00") << "base64 may be broken across lines";
    EXPECT_EQ(flow.steps[1].text(), "<?xml broken");

    EXPECT_EQ(errorOf("app: whatsapp\nsettings: {base64: \"YnBs!\"}\n---\n"),
              "flows/x.yaml:2: settings.base64: not base64 at offset 4");
    EXPECT_EQ(errorOf("app: whatsapp\nsettings:\n  values:\n    Aw: ~\n---\n"),
              "flows/x.yaml:4: settings.values: null has no property-list form (leave the key out)");
    EXPECT_EQ(errorOf("app: whatsapp\nsettings: {values: {}, raw: x}\n---\n").substr(0, 42),
              "flows/x.yaml:2: settings: expected {format");
    EXPECT_EQ(errorOf("app: whatsapp\nsettings:\n  values: {Aw: 1, Aw: 2}\n---\n"),
              "flows/x.yaml:3: settings.values: duplicate key `Aw`");
}

// A report shows each step as the flow says it: every form a step may take reads as the
// description here, and that text, read back, is the same step.
TEST(FlowParser, StepsReadAsTheirDescriptionsAndTheDescriptionsReadBackAsTheSameSteps) {
    const std::pair<const char*, const char*> steps[] = {
        {"tapOn: Hello there", "tapOn: \"Hello there\""},
        {"tapOn: {id: m, text: \"2\", class: UITextView, index: 1, repeat: 3, touches: 2, at: [5, 6.5]}",
         "tapOn: {id: m, text: \"2\", class: UITextView, index: 1, repeat: 3, touches: 2, at: [5, 6.5]}"},
        {"doubleTapOn: {class: UIView, index: 1}", "doubleTapOn: {class: UIView, index: 1}"},
        {"longPressOn: {text: Hi, duration: 1, move: true}",
         "longPressOn: {text: \"Hi\", duration: 1, move: true}"},
        {"longPressOn: Hi", "longPressOn: \"Hi\""},
        {"selectText: {in: {id: m, text: \"a\\\"b\"}, from: 1, length: 2}",
         "selectText: {in: {id: m, text: \"a\\\"b\"}, from: 1, length: 2}"},
        {"inputText: \"two\\nlines\"", "inputText: \"two\\nlines\""},
        {"assertFile: {path: ~/tmp, exists: false}", "assertFile: {path: ~/tmp, exists: false}"},
        {"assertPresented: LexornaViewController", "assertPresented: LexornaViewController"},
        {"relaunch", "relaunch"},
    };
    for (const auto& [written, described] : steps) {
        Flow flow = parsed(Header + "- launch\n- " + written + "\n");
        ASSERT_EQ(flow.steps.size(), 2u) << written;
        EXPECT_EQ(flow.steps[1].line, 4u);
        EXPECT_EQ(flow.steps[1].description(), described);
        Flow again = parsed(Header + "- launch\n- " + flow.steps[1].description() + "\n");
        ASSERT_EQ(again.steps.size(), 2u) << described;
        EXPECT_EQ(again.steps[1].description(), described);
    }
    EXPECT_EQ(
        std::get<LongPress>(parsed(Header + "- launch\n- longPressOn: Hi\n").steps[1].argument).duration,
        0.5);
    EXPECT_EQ(parsed(Header + "- setSettings: {values: {Aw: true}}\n").steps[0].description(), "setSettings")
        << "a file's bytes are not for reading on a page";
}

// A slip of indentation is named as such, not by what yaml-cpp made of it.
TEST(FlowParser, TabsAndStepsIndentedWronglyAreNamedAsSuch) {
    EXPECT_EQ(errorOf(Header + "- launch\n\t- tapOn: x\n"),
              "flows/x.yaml:4: invalid YAML: a tab is not allowed for indentation (indent with spaces)");
    EXPECT_EQ(errorOf(Header + "- launch\n-\ttapOn: x\n"),
              "flows/x.yaml:4: invalid YAML: a tab is not allowed for indentation (indent with spaces)");
    EXPECT_EQ(errorOf("app: whatsapp\nsettings:\n\tvalues: {Aw: true}\n---\n"),
              "flows/x.yaml:3: invalid YAML: a tab is not allowed for indentation (indent with spaces)");
    for (const char* slip : {"  - tapOn: x\n", " - tapOn: x\n", "   assertVisible: y\n"})
        EXPECT_EQ(errorOf(Header + "- launch\n- copy\n" + slip + "- copy\n"),
                  "flows/x.yaml:5: invalid YAML: this line is indented differently from the step before it "
                  "(line 4)")
            << slip;
    EXPECT_EQ(errorOf(Header + "  - launch\n- copy\n"),
              "flows/x.yaml:4: invalid YAML: this line is indented differently from the step before it (line 3)");
    EXPECT_EQ(errorOf("app: whatsapp\nsettings:\n  values: {Aw: true}\n   install: false\n---\n"),
              "flows/x.yaml:4: invalid YAML: this line is indented differently from the line before it (line 3)");
    // What is not a slip keeps yaml-cpp's reading: a text with `: `, nested or not.
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: Hello: there\n"),
              "flows/x.yaml:4: invalid YAML: illegal map value; a text that holds `: ` needs quotes");
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn:\n    text: Hello: there\n"),
              "flows/x.yaml:5: invalid YAML: illegal map value; a text that holds `: ` needs quotes");
    EXPECT_EQ(errorOf(Header + "- tapOn:\n    id: x\n- copy: a: b\n"),
              "flows/x.yaml:5: invalid YAML: illegal map value; a text that holds `: ` needs quotes");
}

TEST(FlowParser, VariablesComeFromTheHeaderAndFromOutsideAndKeepTheirYamlTypes) {
    const std::string flow = R"(app: whatsapp
env: {WHO: Alex, COUNT: 2, ON: "true", PART: rest}
settings:
  values:
    Count: ${COUNT}
    Text: "${COUNT}"
    WACustomView: ${WHO == 'Sam'}
content:
  messages: ["Hi ${WHO}", "${WHO}: $${NOT} a variable"]
---
- launch
- tapOn:
    text: Hi ${WHO}
    repeat: ${COUNT}
)";
    Flow read = parsed(flow);
    EXPECT_EQ(read.content["messages"], nlohmann::json::parse(R"(["Hi Alex", "Alex: ${NOT} a variable"])"));
    EXPECT_NE(read.settings->find("<key>Count</key>\n\t<integer>2</integer>"), std::string::npos)
        << "a plain scalar reads as if the value were written there";
    EXPECT_NE(read.settings->find("<key>Text</key>\n\t<string>2</string>"), std::string::npos);
    EXPECT_NE(read.settings->find("<key>WACustomView</key>\n\t<false/>"), std::string::npos);
    EXPECT_EQ(read.steps[1].description(), "tapOn: {text: \"Hi Alex\", repeat: 2}");
    EXPECT_TRUE(read.givenEnv.empty());

    // Variables given from outside win over the header's, and name the flow.
    auto given = parseFlow(flow, "flows/x.yaml", {.variables = {{"WHO", "Sam"}}, .readFile = {}});
    ASSERT_TRUE(given) << given.error().text();
    EXPECT_EQ(given->content["messages"][0], "Hi Sam");
    EXPECT_NE(given->settings->find("<key>WACustomView</key>\n\t<true/>"), std::string::npos);
    EXPECT_EQ(given->name(), "flows/x.yaml -e WHO=Sam");

    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: ${WHOM}\n"),
              "flows/x.yaml:4: `${WHOM}` is not set (give it in the header's env, a runFlow's env or -e "
              "WHOM=VALUE)");
    EXPECT_EQ(errorOf("app: whatsapp\nenv: {WHO: a}\ncontent: {messages: [\"${WHOM}\"]}\n---\n"),
              "flows/x.yaml:3: `${WHOM}` is not set (did you mean `WHO`?) (give it in the header's env, a "
              "runFlow's env or -e WHOM=VALUE)");
    EXPECT_EQ(errorOf("app: whatsapp\nenv: {A: a}\n---\n- launch\n- tapOn: ${A > 2}\n"),
              "flows/x.yaml:5: `${A > 2}`: expected a variable's name, or NAME == 'text' or NAME != 'text'");
    EXPECT_EQ(errorOf("app: whatsapp\nenv: {A: a}\n---\n- launch\n- tapOn: \"${A\"\n"),
              "flows/x.yaml:5: a `${` is not closed by `}` (write `$${` for the text `${`)");
    EXPECT_EQ(errorOf("app: whatsapp\nenv: {2A: a}\n---\n"),
              "flows/x.yaml:2: env: `2A` cannot name a variable (a letter or `_`, then letters, digits, `_`)");
    EXPECT_EQ(parsed("app: whatsapp\ntags: [smoke, whatsapp]\n---\n").tags,
              (std::vector<std::string>{"smoke", "whatsapp"}));
    EXPECT_EQ(errorOf("app: whatsapp\ntags: smoke\n---\n"),
              "flows/x.yaml:2: tags: expected a list of tags, such as [smoke, whatsapp]");
}

namespace {

// Flow files that runFlow steps read, by name, instead of the disk.
FlowOptions filesOf(std::map<std::string, std::string> files, Variables variables = {}) {
    return {std::move(variables), [files = std::move(files)](const std::string& file)
                                      -> support::Expected<std::string, std::string> {
                if (auto it = files.find(file); it != files.end())
                    return it->second;
                return support::Unexpected(std::string("no such flow file"));
            }};
}

} // namespace

TEST(FlowParser, RunFlowPlaysASubflowsStepsInPlaceEachNamedWhereItIsWritten) {
    auto options = filesOf({
        {"flows/sub/copy.yaml", "env: {PART: all}\n---\n- selectText:\n    in: ${WHERE}\n    from: 0\n    length: "
                                "${LENGTH}\n- copy\n- assertPasteboard: ${PART}\n"},
        {"flows/close.yaml", "- doubleTapOn: {id: chat}\n"},
    });
    auto flow = parseFlow(R"(app: whatsapp
env: {WHERE: Hello there, LENGTH: 5}
---
- launch
- runFlow: {file: sub/copy.yaml, env: {PART: Hello}}
- runFlow: sub/../close.yaml
- runFlow:
    when: {true: "${LENGTH == '5'}"}
    env: {WHERE: General Kenobi}
    commands:
      - assertVisible: ${WHERE}
- runFlow:
    when: {true: false}
    file: missing.yaml
)",
                          "flows/x.yaml", options);
    ASSERT_TRUE(flow) << flow.error().text();
    std::vector<std::string> played;
    for (const auto& step : flow->steps)
        played.push_back(step.where() + " " + step.description() + " #" + std::to_string(step.index));
    EXPECT_EQ(played, (std::vector<std::string>{
                          "flows/x.yaml:4 launch #0",
                          "flows/sub/copy.yaml:3 selectText: {in: \"Hello there\", from: 0, length: 5} #1",
                          "flows/sub/copy.yaml:7 copy #2",
                          "flows/sub/copy.yaml:8 assertPasteboard: \"Hello\" #3",
                          "flows/close.yaml:1 doubleTapOn: {id: chat} #4",
                          "flows/x.yaml:11 assertVisible: \"General Kenobi\" #5",
                      }))
        << "a runFlow's env wins over the flow's, a subflow's header only gives defaults";

    // What a subflow does wrong is named where it is, with the step that ran it.
    auto error = [&](const std::string& yaml, std::map<std::string, std::string> files = {}) {
        auto flow = parseFlow("app: whatsapp\n---\n- launch\n" + yaml, "flows/x.yaml", filesOf(std::move(files)));
        EXPECT_FALSE(flow) << yaml;
        return flow ? "" : flow.error().text();
    };
    EXPECT_EQ(error("- runFlow: gone.yaml\n"), "flows/x.yaml:4: runFlow: flows/gone.yaml: no such flow file");
    EXPECT_EQ(error("- runFlow: a.yaml\n", {{"flows/a.yaml", "- copy\n- runFlow: b.yaml\n"},
                                             {"flows/b.yaml", "- runFlow: ./a.yaml\n"}}),
              "flows/b.yaml:1: runFlow: a cycle of subflows: flows/a.yaml runs flows/b.yaml runs flows/a.yaml "
              "again (run by flows/a.yaml:2) (run by flows/x.yaml:4)");
    EXPECT_EQ(error("- runFlow: x.yaml\n"),
              "flows/x.yaml:4: runFlow: a cycle of subflows: flows/x.yaml runs flows/x.yaml again");
    EXPECT_EQ(error("- runFlow: a.yaml\n", {{"flows/a.yaml", "- copy\n- tapOn: ${WHO}\n"}}),
              "flows/a.yaml:2: `${WHO}` is not set (give it in the header's env, a runFlow's env or -e "
              "WHO=VALUE) (run by flows/x.yaml:4)");
    EXPECT_EQ(error("- runFlow: a.yaml\n", {{"flows/a.yaml", "app: youtube\n---\n- copy\n"}}),
              "flows/a.yaml:1: app: this subflow is for `youtube`, and the flow that runs it plays "
              "net.whatsapp.WhatsApp (run by flows/x.yaml:4)");
    EXPECT_EQ(error("- runFlow: a.yaml\n", {{"flows/a.yaml", "settings: {values: {Aw: true}}\n---\n"}}),
              "flows/a.yaml:1: header: a subflow's header says only app, env and tags (`settings` belongs in "
              "the header of the flow that runs it) (run by flows/x.yaml:4)");
    EXPECT_EQ(error("- runFlow: {file: a.yaml, when: {visible: Hi}}\n"),
              "flows/x.yaml:4: runFlow.when: `visible` is not a condition here: a flow's steps are fixed when "
              "it is read, so only `true` (a value known then) decides");
    EXPECT_EQ(error("- runFlow\n").rfind("flows/x.yaml:4: runFlow: expected a flow file, {file: FILE", 0), 0u);
    EXPECT_EQ(error("- runflow: a.yaml\n").substr(0, 64),
              "flows/x.yaml:4: unknown step `runflow` (did you mean `runFlow`?)");
    // A file that runs another twice, nested, would make steps without end.
    std::map<std::string, std::string> doubling;
    for (int k = 0; k < 15; ++k)
        doubling["flows/" + std::to_string(k) + ".yaml"] =
            "- runFlow: " + std::to_string(k + 1) + ".yaml\n- runFlow: " + std::to_string(k + 1) + ".yaml\n";
    doubling["flows/15.yaml"] = "- copy\n";
    EXPECT_NE(error("- runFlow: 0.yaml\n", doubling).find(": more than 10000 runFlows in one flow (run by"),
              std::string::npos);
}

TEST(FlowParser, SwitchesOfTheSettingsPaneThatHoldNoBooleanAreWrittenAndWarnedOf) {
    Flow flow = parsed(R"(app: whatsapp
settings:
  values: {Aw: "yes", WhatsApp: true, WACustomView: [1], Other: "yes"}
---
- setSettings:
    values:
      Aw: 1
      Messages: "no"
)");
    EXPECT_NE(flow.settings->find("<key>Aw</key>\n\t<string>yes</string>"), std::string::npos)
        << "written as given, as a crafted file would be";
    EXPECT_EQ(flow.warnings,
              (std::vector<std::string>{
                  "flows/x.yaml:3: settings.values.Aw: the text \"yes\", not a boolean; Lexorna reads it as on "
                  "(NSString's boolValue)",
                  "flows/x.yaml:3: settings.values.WACustomView: a list, not a boolean; Lexorna reads it as off "
                  "(it has no boolValue)",
                  "flows/x.yaml:7: setSettings.values.Aw: the number 1, not a boolean; Lexorna reads it as on "
                  "(NSNumber's boolValue)",
                  "flows/x.yaml:8: setSettings.values.Messages: the text \"no\", not a boolean; Lexorna reads it "
                  "as off (NSString's boolValue)",
              }));
}
