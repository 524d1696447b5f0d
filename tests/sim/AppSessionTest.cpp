// Launches of the real simulated apps through lexorna-sim: what failing steps say, what
// the report tells of touches and snapshots, and the library the loader maps.

#include "Simulator.h"

namespace {

class AppSessionTest : public testing::Test {
protected:
    Simulated play(const std::string& yaml) { return simulator_.play(yaml); }
    static const Json& launch(const Simulated& played) { return played.launch(); }

    Simulator simulator_;
};

// The failure as the console's FAIL line gives it after the flow file: "LINE: step: error".
std::string failureOf(const Simulated& played) {
    auto at = played.out.find("flow.yaml:");
    auto end = played.out.find('\n', at);
    return at == std::string::npos ? played.out : played.out.substr(at + 10, end - at - 10);
}

} // namespace

TEST_F(AppSessionTest, ASelectorThatMatchesNothingFailsWithWhatIsOnScreen) {
    Simulated played = play(R"(app: whatsapp
install: false
content: {messages: ["Hello there"]}
---
- launch
- tapOn: {id: message-9}
- assertVisible: "Hello there"
)");
    EXPECT_EQ(played.status, 1);
    const std::string error = "no view matches {id: message-9}; on screen: UIView#chat, UILabel \"Alex\", "
                              "WAMessageContainerView#message-1, UILabel \"Hello there\"";
    EXPECT_EQ(failureOf(played), "6: tapOn: {id: message-9}: " + error);
    const Json& failed = launch(played)["steps"][1];
    EXPECT_EQ(failed["error"], error);
    EXPECT_EQ(failed["line"], 6);
    EXPECT_EQ(failed["text"], "tapOn: {id: message-9}");
    EXPECT_EQ(failed["screenshot"], "flow-line-6-failed.png");
    EXPECT_TRUE(std::filesystem::exists(simulator_.folder().path() / "flow-line-6-failed.png"));
    EXPECT_EQ(launch(played)["steps"][2]["skipped"], true) << "the flow stops at its first failure";
    EXPECT_EQ(played.report["flows"][0]["assertions"], Json::parse(R"({"passed": 0, "failed": 0})"));
}

TEST_F(AppSessionTest, StepsRefuseWhatAUserCannotDo) {
    const std::string selected = "- selectText: {in: {id: balloon-1}, from: 1, length: 0}\n";
    const std::pair<std::string, std::string> cases[] = {
        {"- copy\n", "no text view was selected in (selectText, or a tap in a text view, comes first)"},
        {"- selectText: {in: {id: balloon-1}, from: 1, length: 2}\n",
         "characters 1 to 3 lie beyond the text, which has 2 (UTF-16 units)"},
        {"- selectText: {in: {id: transcript}, from: 0, length: 1}\n",
         "{id: transcript} is a UIView, not a text view"},
        {selected + "- copy\n", "nothing is selected"},
        {selected + "- inputText: \"x\"\n", "the selected text view is not editable"},
        {"- assertPasteboard: \"x\"\n", "the pasteboard holds no string, expected \"x\""},
        {"- assertNotVisible: {id: balloon-1}\n",
         "{id: balloon-1} is visible: CKBalloonTextView#balloon-1 \"Hi\""},
        {"- assertPresented: UIAlertController\n",
         "no UIAlertController is presented (nothing is presented)"},
        {"- tapOn: {id: balloon-1, at: [0, -500]}\n",
         "the point [0, -500] of {id: balloon-1} lies off the screen"},
    };
    for (const auto& [steps, error] : cases) {
        Simulated played =
            play("app: messages\ninstall: false\ncontent: {messages: [\"Hi\"]}\n---\n- launch\n" + steps);
        EXPECT_EQ(played.status, 1) << steps;
        EXPECT_EQ(launch(played)["steps"].back()["error"], error) << steps;
    }
}

TEST_F(AppSessionTest, ATouchOnAViewThatSomethingCoversFailsAndNamesIt) {
    Simulated played = play(R"(app: whatsapp
settings:
  values: {Aw: true, WhatsApp: true, WACustomView: true}
content: {messages: ["Hello there"]}
---
- launch
- doubleTapOn: {id: message-1}
- doubleTapOn: {id: message-1}
)");
    EXPECT_EQ(played.status, 1);
    EXPECT_EQ(launch(played)["steps"][2]["error"],
              "{id: message-1} is covered by the presented LexornaViewController, which a finger would touch "
              "instead");
    EXPECT_EQ(launch(played)["steps"][2]["fired"], Json::array()) << "no second panel";
}

TEST_F(AppSessionTest, TouchesReportWhatFiredAndSnapshotsShowTheScreen) {
    Simulated played = play(R"(app: youtube
install: false
content: {comments: ["First!"], rootPresents: [SessionSheet]}
---
- launch
- tapOn: {id: engagement-panel-close, force: true}
- dump: closed
)");
    ASSERT_EQ(played.status, 0) << played.out;
    EXPECT_EQ(launch(played)["steps"][1]["fired"], Json::parse(R"([{"recognizer": null,
        "target": "YTEngagementPanelViewController", "action": "didTapCloseButton", "state": null}])"));

    EXPECT_EQ(launch(played)["snapshots"][0]["presented"][0]["controller"], "SessionSheet");
}

TEST_F(AppSessionTest, TheLoaderMapsLexornaIntoTheAppWhenItIsInstalled) {
    Simulated played = play(R"(app: whatsapp
settings: {values: {Aw: true, WhatsApp: true}}
content: {messages: ["Hello there"]}
---
- launch
- doubleTapOn: {id: message-1}
)");
    ASSERT_EQ(played.status, 0) << played.out;
    EXPECT_EQ(launch(played)["loaded"],
              Json::parse(R"(["/Library/MobileSubstrate/DynamicLibraries/Lexorna.dylib"])"));
    EXPECT_EQ(launch(played)["log"], Json::array());
    EXPECT_FALSE(launch(played)["runtime"].empty());
    EXPECT_EQ(launch(played)["fileOpens"]["/Library/MobileSubstrate/DynamicLibraries/Lexorna.plist"], 1)
        << "the library reads its filter once for its one group; the loader's look is not the app's";
    const Json& fired = launch(played)["steps"][1]["fired"];
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0]["recognizer"], "UITapGestureRecognizer");
    EXPECT_EQ(fired[0]["target"], "WAMessageContainerView");
    EXPECT_EQ(fired[0]["state"], 3);

    // Without Lexorna's package there is nothing to load and nothing to say.
    played = play("app: whatsapp\ninstall: false\n---\n- launch\n");
    ASSERT_EQ(played.status, 0) << played.out;
    EXPECT_EQ(launch(played)["loaded"], Json::array());
    EXPECT_EQ(launch(played)["log"], Json::array());

    // A filter list left behind without its library: the loader only logs.
    played = play("app: whatsapp\ninstall: false\nfilter: [net.whatsapp.WhatsApp]\n---\n- launch\n");
    ASSERT_EQ(played.status, 0) << played.out;
    EXPECT_EQ(launch(played)["loaded"], Json::array());
    EXPECT_EQ(
        launch(played)["log"],
        Json::parse(
            R"(["MobileSubstrate: cannot load /Library/MobileSubstrate/DynamicLibraries/Lexorna.dylib: /Library/MobileSubstrate/DynamicLibraries/Lexorna.dylib: cannot open shared object file: No such file or directory"])"));
}
