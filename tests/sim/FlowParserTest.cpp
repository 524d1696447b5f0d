// Reading flow files: what each step and header key becomes, and where and why a
// malformed flow is refused.

#include "sim/flow/FlowParser.h"

#include <gtest/gtest.h>

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
              "flows/x.yaml:4: tapOn: expected a selector (a string or a map of id, text, class, index)");
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
              "flows/x.yaml:4: tapOn: expected a selector (a string or a map of id, text, class, index)");
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: {id: a, repeat: 0}\n"),
              "flows/x.yaml:4: tapOn.repeat: expected a whole number from 1 to 10");
    EXPECT_EQ(errorOf(Header + "- launch\n- assertVisible: {id: a, repeat: 2}\n").substr(0, 56),
              "flows/x.yaml:4: assertVisible: unknown key `repeat` (exp");
    EXPECT_EQ(errorOf(Header + "- launch\n- tapOn: {index: 2}\n"),
              "flows/x.yaml:4: tapOn: a selector names at least an id, a text or a class");
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
