// What each host's user sees, one table of host differences checked the same way: the
// overlay's place and look, whether a second trigger stacks or replaces, what a nil text
// shows, what dismisses, and the panel's presenter.

#include "ViewTreeNodes.h"

#include <gmock/gmock.h>

using json = Json;

namespace {

constexpr double Grey37 = 37.0 / 255;

struct Insets {
    double top, leading, trailing, bottom; // the edge constraints' constants
};

struct Host {
    const char* app;
    const char* key;        // the host group's settings key
    const char* customKey;  // its custom-view key
    const char* contentKey; // the content list that holds the texts
    const char* itemId;     // view id of item N, without N
    const char* trigger;    // the step that triggers, "%" standing for the item's id
    const char* dismiss;    // the step that takes the overlay away
    const char* parentId;   // the overlay's superview, nil: the item itself
    double cornerRadius;
    double fontSize;
    long alignment;
    Insets insets;
    bool replaces;      // a new overlay takes the earlier one away
    bool nilShowsEmpty; // a nil text still gives an (empty) overlay
    const char* presenter;
    const char* driftLinks;     // the links of its text chain an update may change, as digits
    const char* inheritedLinks; // links whose property the host class has from UIKit: never missing
    bool overlayNeedsChatView;  // the overlay lies in the chat controller's view
};

// Names the host in test output instead of dumping the struct's bytes.
void PrintTo(const Host& host, std::ostream* out) {
    *out << host.app;
}

// One row per host, its values in the order of the fields above.
// clang-format off
const Host Hosts[] = {
    {"whatsapp", "WhatsApp", "WACustomView", "messages", "message-", "doubleTapOn: {id: %}",
     "doubleTapOn: {id: chat}", nullptr, 7, 15, 0, {5, 5, -5, -5}, false, false,
     "WAChatViewController", "123", "", false},
    {"youtube", "Youtube", "YTCustomView", "comments", "comment-", "doubleTapOn: {id: %}",
     "tapOn: {id: engagement-panel-close}", nullptr, 7, 15, 0, {5, 5, -5, -5}, false, false,
     "YTWatchViewController", "1", "1", false},
    {"twitter", "Twitter", "TWCustomView", "messages", "dm-", "tapOn: {id: %}",
     "doubleTapOn: {id: conversation}", nullptr, 0, 15, 1, {5, 5, -5, -5}, true, false,
     "T1DirectMessageConversationEntriesViewController", "234", "", false},
    {"instagram", "Instagram", "INCustomView", "comments", "comment-", "longPressOn: {id: %, move: true}",
     "tapOn: \"X\"", nullptr, 10, 12.5, 1, {-5, 0, 0, 5}, true, false,
     "UITabBarController", "1", "", false},
    {"messages", "Messages", "MECustomView", "messages", "balloon-", "tapOn: {id: %}",
     "doubleTapOn: {id: transcript}", "transcript", 10, 15, 1, {5, 5, -5, -5}, false, true,
     "CKTranscriptCollectionViewController", "1", "1", true},
};
// clang-format on

std::string step(const char* pattern, const std::string& id) {
    std::string text = pattern;
    if (auto at = text.find('%'); at != std::string::npos)
        text.replace(at, 1, id);
    return "- " + text + "\n";
}

std::string hostFlow(const Host& host, bool panel, const std::string& steps, const std::string& drift = "") {
    return std::string("app: ") + host.app + "\nsettings:\n  values: {Aw: true, " + host.key + ": true, " +
           host.customKey + ": " + (panel ? "true" : "false") + "}\ncontent:\n  " + host.contentKey +
           ": [\"First words\", \"Second words\", null]\n" +
           (drift.empty() ? "" : "  drift: " + drift + "\n") + "---\n- launch\n" + steps;
}

// The library's overlays: its dark text views with their superviews, back to front.
std::vector<ViewTreeNodes::Node> overlays(const ViewTreeNodes& screen) {
    std::vector<ViewTreeNodes::Node> found;
    for (const auto& node : screen.nodes())
        if ((*node.view)["class"] == "UITextView" &&
            (*node.view)["backgroundColor"] == Json::array({Grey37, Grey37, Grey37, 1.0}))
            found.push_back(node);
    return found;
}

ViewTreeNodes screenAt(const Json& snapshot) {
    return ViewTreeNodes(snapshot["window"]["tree"]);
}

class HostAdapters : public testing::TestWithParam<Host> {};

std::string hostName(const testing::TestParamInfo<Host>& info) {
    return info.param.key;
}

} // namespace

TEST_P(HostAdapters, TheOverlayLiesOverTheItemInTheHostsStyleAndGoesAsTheHostSays) {
    const Host& host = GetParam();
    std::string item = host.itemId;
    auto outcome =
        Simulator().play(hostFlow(host, false,
                                  step(host.trigger, item + "1") + step(host.trigger, item + "2") +
                                      "- dump: two\n" + step(host.trigger, item + "3") + "- dump: nil\n" +
                                      step(host.dismiss, "") + "- dump: dismissed\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    ASSERT_TRUE(outcome.launch()["crash"].is_null());

    auto two = screenAt(outcome.snapshot("two"));
    auto shown = overlays(two);
    ASSERT_EQ(shown.size(), host.replaces ? 1u : 2u) << "stacked or replaced";
    const json& overlay = *shown.back().view;
    EXPECT_EQ(overlay["text"], "Second words");
    EXPECT_EQ(overlay["textColor"], json::array({1.0, 1.0, 1.0, 1.0}));
    EXPECT_EQ(overlay["editable"], true);
    EXPECT_EQ(overlay["clipsToBounds"], true);
    EXPECT_EQ(overlay["translatesAutoresizingMaskIntoConstraints"], false);
    EXPECT_EQ(overlay["layer"]["cornerRadius"], host.cornerRadius);
    EXPECT_EQ(overlay["font"], host.fontSize);
    EXPECT_EQ(overlay["textAlignment"], host.alignment);

    const json& anchor = two.byId(item + "2");
    const json& parent = host.parentId ? two.byId(host.parentId) : anchor;
    EXPECT_EQ(shown.back().superview, &parent) << "the overlay's superview";
    EXPECT_EQ(parent["subviews"].back(), overlay) << "above the parent's other subviews";
    auto f = anchor["frame"];
    const Insets& in = host.insets;
    EXPECT_EQ(overlay["frame"], json::array({f[0].get<double>() + in.leading, f[1].get<double>() + in.top,
                                             f[2].get<double>() - in.leading + in.trailing,
                                             f[3].get<double>() - in.top + in.bottom}));

    auto nilOverlays = overlays(screenAt(outcome.snapshot("nil")));
    if (host.nilShowsEmpty) {
        ASSERT_EQ(nilOverlays.size(), shown.size() + 1);
        EXPECT_EQ((*nilOverlays.back().view)["text"], "");
    } else {
        ASSERT_EQ(nilOverlays.size(), shown.size()) << "a nil text changes nothing";
        EXPECT_EQ((*nilOverlays.back().view)["text"], "Second words");
    }

    // The dismissal takes the newest overlay only; a stacked earlier one stays.
    auto left = overlays(screenAt(outcome.snapshot("dismissed")));
    ASSERT_EQ(left.size(), nilOverlays.size() - 1);
    if (!left.empty()) {
        EXPECT_FALSE((*left.back().view)["hidden"].get<bool>());
    }
}

TEST_P(HostAdapters, ThePanelShowsTheTextOverTheTopMostControllerOncePerTrigger) {
    const Host& host = GetParam();
    std::string item = host.itemId;
    auto outcome = Simulator().play(hostFlow(host, true, step(host.trigger, item + "2") + "- dump: panel\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const auto& presented = outcome.snapshot("panel")["presented"];
    ASSERT_EQ(presented.size(), 1u) << presented.dump(1);
    EXPECT_EQ(presented[0]["controller"], "LexornaViewController");
    EXPECT_EQ(presented[0]["presenter"], host.presenter);
    EXPECT_EQ(presented[0]["animated"], true);
    EXPECT_THAT(presented[0]["tree"].dump(), testing::HasSubstr("\"text\":\"\\nSecond words\""));

    // A nil text still presents the panel, with the line break alone.
    outcome = Simulator().play(hostFlow(host, true, step(host.trigger, item + "3") + "- dump: nil\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const auto& nilPanel = outcome.snapshot("nil")["presented"];
    ASSERT_EQ(nilPanel.size(), 1u);
    EXPECT_THAT(nilPanel[0]["tree"].dump(), testing::HasSubstr("\"text\":\"\\n\""));
}

// An app update that changes a class of the text chain, or leaves the chat controller
// without a view, must not end the host: each drift the app can ship, played in a launch
// of its own, shows what the host's nil rule says. Without the controller's view the
// trigger still shows the text, unless the overlay would lie in that view, and the
// dismissal does nothing. A property the host class inherits from UIKit cannot go
// missing while its superclass stays: asked for, the launch is refused and says why.
TEST_P(HostAdapters, DriftedHostClassesShowWhatANilTextShowsAndTheHostRunsOn) {
    const Host& host = GetParam();
    std::string item = std::string(host.itemId) + "1";
    struct Drift {
        std::string content;
        std::optional<std::string> shown; // the overlay's text, or no overlay
        bool refused = false;
    };
    std::optional<std::string> nilShows = host.nilShowsEmpty ? std::optional<std::string>("") : std::nullopt;
    std::vector<Drift> drifts{{"{view: null}", host.overlayNeedsChatView
                                                   ? std::nullopt
                                                   : std::optional<std::string>("First words")}};
    for (const char* link = host.driftLinks; *link; ++link)
        for (std::string answer : {"missing", "nil", "number"}) {
            bool refused = answer == "missing" &&
                           std::string_view(host.inheritedLinks).find(*link) != std::string_view::npos;
            drifts.push_back({std::string("{link: ") + *link + ", answers: " + answer + "}",
                              refused ? std::nullopt : nilShows, refused});
        }

    Simulator simulator;
    std::string flows;
    for (std::size_t i = 0; i < drifts.size(); ++i) {
        std::string steps = step(host.trigger, item) + "- dump: drifted\n";
        if (drifts[i].shown)
            steps += step(host.dismiss, "");
        flows += " " + simulator.folder()
                           .write("drift-" + std::to_string(i) + ".yaml",
                                  hostFlow(host, false, steps, drifts[i].content))
                           .string();
    }
    auto outcome = simulator.runFlows(flows);
    bool anyRefused = std::ranges::any_of(drifts, &Drift::refused);
    ASSERT_EQ(outcome.status, anyRefused ? 1 : 0) << outcome.report.dump(1);
    const auto& played = outcome.report["flows"];
    ASSERT_EQ(played.size(), drifts.size());
    for (std::size_t i = 0; i < drifts.size(); ++i) {
        SCOPED_TRACE(drifts[i].content);
        EXPECT_EQ(played[i]["ok"], !drifts[i].refused);
        if (drifts[i].refused) {
            EXPECT_THAT(outcome.out, testing::HasSubstr("drift-" + std::to_string(i) +
                                                        ".yaml:8: launch: content.drift: "));
            EXPECT_THAT(outcome.out, testing::HasSubstr(" inherits "));
            continue;
        }
        const auto& launch = played[i]["launches"][0];
        ASSERT_TRUE(launch["crash"].is_null()) << launch["crash"].dump();
        auto shown = overlays(screenAt(launch["snapshots"][0]));
        if (!drifts[i].shown) {
            EXPECT_TRUE(shown.empty());
            continue;
        }
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ((*shown[0].view)["text"], *drifts[i].shown);
    }
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostAdapters, testing::ValuesIn(Hosts), hostName);

TEST(InstagramOverlay, CarriesItsCloseButtonAtItsTopLeftCorner) {
    const Host& instagram = Hosts[3];
    auto outcome = Simulator().play(
        hostFlow(instagram, false, step(instagram.trigger, "comment-1") + "- dump: shown\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const json& overlay = *overlays(screenAt(outcome.snapshot("shown"))).at(0).view;
    ASSERT_EQ(overlay["subviews"].size(), 1u);
    const json& button = overlay["subviews"][0];
    EXPECT_EQ(button["class"], "UIButton");
    EXPECT_EQ(button["title"], "X");
    auto f = overlay["frame"];
    EXPECT_EQ(button["frame"], json::array({f[0].get<double>() + 1.5, f[1].get<double>() + 1.5, 23.5, 23.5}));
    EXPECT_EQ(button["clipsToBounds"], true);
    EXPECT_EQ(button["layer"]["cornerRadius"], 12);
    double grey5 = 5.0 / 255;
    EXPECT_EQ(button["layer"]["backgroundColor"], json::array({grey5, grey5, grey5, 1.0}));
    EXPECT_EQ(button["actions"],
              json::parse(R"([{"target": "IGCoreTextView", "action": "Close", "events": 64}])"));
}
