// The text panel as WhatsApp presents it, seen through the simulator's report: its
// geometry on several screens, its corners on old and new systems, what Share exports.

#include "ViewTreeNodes.h"

#include <gmock/gmock.h>

using json = Json;

namespace {

std::string panelFlow(const std::string& header, const std::string& message, const std::string& steps) {
    return header + R"(
settings:
  values: {Aw: true, WhatsApp: true, WACustomView: true}
content:
  messages: [)" +
           message + R"(]
---
- launch
- doubleTapOn: {id: message-1}
- assertPresented: LexornaViewController
)" + steps;
}

// The panel's views in the last snapshot, in tree order.
ViewTreeNodes presentedPanel(const Simulated& played) {
    for (const auto& presented : played.launch()["snapshots"].back()["presented"])
        if (presented["controller"] == "LexornaViewController")
            return ViewTreeNodes(presented["tree"]);
    throw std::runtime_error("no panel presented");
}

json frame(double x, double y, double width, double height) {
    return json::array({x, y, width, height});
}

} // namespace

class PanelGeometry : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(PanelGeometry, TheCardIsCentredAndKeepsItsSizeOnEveryScreen) {
    auto [width, height] = GetParam();
    auto outcome = Simulator().play(
        panelFlow("app: whatsapp\nscreen: [" + std::to_string(width) + ", " + std::to_string(height) + "]",
                  "\"abc\"", "- dump: panel\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    auto panel = presentedPanel(outcome);
    // Centred in the page sheet that the panel comes in from iOS 13 on, 54 points down.
    double left = width / 2.0 - 150, top = 54 + (height - 54) / 2.0 - 150;

    const json& body = panel.nth("UIView", 1);
    const json& bar = panel.nth("UIView", 2);
    EXPECT_EQ(body["frame"], frame(left, top, 300, 300));
    EXPECT_EQ(bar["frame"], frame(left - 1, top - 1, 302, 41));
    EXPECT_EQ(panel.nth("UIButton", 0)["frame"], frame(left - 1 + 1.5, top - 1, 58.5, 41));
    EXPECT_EQ(panel.nth("UIImageView")["frame"], frame(left - 1 + 302 - 36, top - 1 + 5, 31, 31));
    EXPECT_EQ(panel.nth("UIButton", 1)["frame"], panel.nth("UIImageView")["frame"])
        << "the Share button covers its image exactly";
    EXPECT_EQ(panel.withText("UILabel", "Lexorna")["frame"], frame(left - 1 + 151 - 60, top - 1, 120, 41));
    EXPECT_EQ(panel.nth("UITextView")["frame"], frame(left, top + 40, 300, 260));

    EXPECT_EQ(body["layer"]["cornerRadius"], 12);
    EXPECT_EQ(body["clipsToBounds"], true);
    EXPECT_EQ(bar["layer"]["borderWidth"], 0.1);
    EXPECT_EQ(panel.nth("UIButton", 0)["titleColor"], json::array({0.0, 75.0 / 255.0, 1.0, 1.0}));
    EXPECT_EQ(panel.withText("UILabel", "Lexorna")["font"], 15);
    EXPECT_EQ(panel.nth("UITextView")["text"], "\nabc");
    EXPECT_EQ(panel.nth("UITextView")["font"], 12.5);
}

// Phone, tablet, and a view smaller than the card, which then overflows evenly.
INSTANTIATE_TEST_SUITE_P(Screens, PanelGeometry,
                         testing::Values(std::pair{390, 844}, std::pair{1024, 1366}, std::pair{200, 200}));

TEST(PanelFlows, OnlyIOS11AndLaterRoundTheTitleBarsTopCornersAlone) {
    for (auto [ios, corners] : {std::pair{"10.3", 15}, std::pair{"11.0", 3}, std::pair{"14.4", 3}}) {
        auto outcome = Simulator().play(
            panelFlow(std::string("app: whatsapp\nios: \"") + ios + "\"", "\"abc\"", "- dump: panel\n"));
        ASSERT_EQ(outcome.status, 0) << ios;
        EXPECT_EQ(presentedPanel(outcome).nth("UIView", 2)["layer"]["maskedCorners"], corners) << ios;
    }
}

TEST(PanelFlows, ShareExportsThePresentersTextAsUtf8WithoutBomOrLineBreak) {
    // Emoji, right-to-left and a combining mark.
    const std::string text = "Grüße 👋🏽 שלום e\u0301";
    auto outcome = Simulator().play(panelFlow("app: whatsapp", "\"" + text + "\"",
                                              R"(- selectText: {in: {class: UITextView}, from: 1, length: 5}
- inputText: "edited"
- tapOn: {class: UIButton, text: ""}
- assertPresented: UIActivityViewController
- dump: shared
)"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const json& files = outcome.launch()["snapshots"].back()["files"];
    ASSERT_TRUE(files.contains("~/Library/Lexorna")) << files.dump();
    EXPECT_EQ(files["~/Library/Lexorna"]["utf8"], text) << "the presenter's text, not the edited view";
    EXPECT_EQ(files["~/Library/Lexorna"]["size"], text.size());
}
