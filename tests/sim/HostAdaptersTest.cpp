// What each host's user sees, one table of host differences checked the same way: the
// overlay's place and look, whether a second trigger stacks or replaces, what a nil text
// shows, what dismisses, and the panel's presenter.

#include "FlowReport.h"

#include <gmock/gmock.h>

using nlohmann::json;

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
    const char* driftLinks;      // the links of its text chain an update may change, as digits
    const char* textWhenMissing; // what the label shows when the host's own text property is gone
    bool overlayNeedsChatView;   // the overlay lies in the chat controller's view
};

// Names the host in test output instead of dumping the struct's bytes.
void PrintTo(const Host& host, std::ostream* out) {
    *out << host.app;
}

const Host Hosts[] = {
    {"whatsapp",
     "WhatsApp",
     "WACustomView",
     "messages",
     "message-",
     "doubleTapOn: {id: %}",
     "doubleTapOn: {id: chat}",
     nullptr,
     7,
     15,
     0,
     {5, 5, -5, -5},
     false,
     false,
     "WAChatViewController",
     "123",
     nullptr,
     false},
    {"youtube",
     "Youtube",
     "YTCustomView",
     "comments",
     "comment-",
     "doubleTapOn: {id: %}",
     "tapOn: {id: engagement-panel-close}",
     nullptr,
     7,
     15,
     0,
     {5, 5, -5, -5},
     false,
     false,
     "YTWatchViewController",
     "1",
     "First words",
     false},
    {"twitter",
     "Twitter",
     "TWCustomView",
     "messages",
     "dm-",
     "tapOn: {id: %}",
     "doubleTapOn: {id: conversation}",
     nullptr,
     0,
     15,
     1,
     {5, 5, -5, -5},
     true,
     false,
     "T1DirectMessageConversationEntriesViewController",
     "234",
     nullptr,
     false},
    {"instagram",
     "Instagram",
     "INCustomView",
     "comments",
     "comment-",
     "longPressOn: {id: %, move: true}",
     "tapOn: \"X\"",
     nullptr,
     10,
     12.5,
     1,
     {-5, 0, 0, 5},
     true,
     false,
     "UITabBarController",
     "1",
     nullptr,
     false},
    {"messages",
     "Messages",
     "MECustomView",
     "messages",
     "balloon-",
     "tapOn: {id: %}",
     "doubleTapOn: {id: transcript}",
     "transcript",
     10,
     15,
     1,
     {5, 5, -5, -5},
     false,
     true,
     "CKTranscriptCollectionViewController",
     "1",
     "First words",
     true},
};

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

FlowOutcome play(const std::string& yaml) {
    TemporaryFolder temp;
    return runFlow(temp.write("host.yaml", yaml).string());
}

// Every node of a view tree with its superview, depth first, back to front.
void collect(const json& node, const json* parent, std::vector<std::pair<const json*, const json*>>& out) {
    out.push_back({&node, parent});
    for (const auto& child : node["subviews"])
        collect(child, &node, out);
}

struct Screen {
    std::vector<std::pair<const json*, const json*>> nodes; // node, superview

    explicit Screen(const json& snapshot) { collect(snapshot["window"]["tree"], nullptr, nodes); }

    const json& byId(const std::string& id) const {
        for (auto [node, parent] : nodes)
            if ((*node)["id"] == id)
                return *node;
        throw std::runtime_error("no view " + id);
    }

    // The library's overlays: its dark text views, back to front.
    std::vector<std::pair<const json*, const json*>> overlays() const {
        std::vector<std::pair<const json*, const json*>> found;
        for (auto entry : nodes) {
            const json& node = *entry.first;
            if (node["class"] == "UITextView" &&
                node["backgroundColor"] == json::array({Grey37, Grey37, Grey37, 1.0}))
                found.push_back(entry);
        }
        return found;
    }
};

const json& snapshot(const FlowOutcome& outcome, const std::string& label) {
    for (const auto& snap : outcome.launch()["snapshots"])
        if (snap["label"] == label)
            return snap;
    throw std::runtime_error("no snapshot " + label);
}

class HostAdapters : public testing::TestWithParam<Host> {};

std::string hostName(const testing::TestParamInfo<Host>& info) {
    return info.param.key;
}

} // namespace

TEST_P(HostAdapters, TheOverlayLiesOverTheItemInTheHostsStyleAndGoesAsTheHostSays) {
    const Host& host = GetParam();
    std::string item = host.itemId;
    auto outcome = play(hostFlow(host, false,
                                 step(host.trigger, item + "1") + step(host.trigger, item + "2") +
                                     "- dump: two\n" + step(host.trigger, item + "3") + "- dump: nil\n" +
                                     step(host.dismiss, "") + "- dump: dismissed\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    ASSERT_TRUE(outcome.launch()["crash"].is_null());

    Screen two(snapshot(outcome, "two"));
    auto overlays = two.overlays();
    ASSERT_EQ(overlays.size(), host.replaces ? 1u : 2u) << "stacked or replaced";
    const json& overlay = *overlays.back().first;
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
    EXPECT_EQ(overlays.back().second, &parent) << "the overlay's superview";
    EXPECT_EQ(parent["subviews"].back(), overlay) << "above the parent's other subviews";
    auto f = anchor["frame"];
    const Insets& in = host.insets;
    EXPECT_EQ(overlay["frame"], json::array({f[0].get<double>() + in.leading, f[1].get<double>() + in.top,
                                             f[2].get<double>() - in.leading + in.trailing,
                                             f[3].get<double>() - in.top + in.bottom}));

    Screen afterNil(snapshot(outcome, "nil"));
    auto nilOverlays = afterNil.overlays();
    if (host.nilShowsEmpty) {
        ASSERT_EQ(nilOverlays.size(), overlays.size() + 1);
        EXPECT_EQ((*nilOverlays.back().first)["text"], "");
    } else {
        ASSERT_EQ(nilOverlays.size(), overlays.size()) << "a nil text changes nothing";
        EXPECT_EQ((*nilOverlays.back().first)["text"], "Second words");
    }

    // The dismissal takes the newest overlay only; a stacked earlier one stays.
    Screen dismissed(snapshot(outcome, "dismissed"));
    auto left = dismissed.overlays();
    ASSERT_EQ(left.size(), nilOverlays.size() - 1);
    if (!left.empty()) {
        EXPECT_FALSE((*left.back().first)["hidden"].get<bool>());
    }
}

TEST_P(HostAdapters, ThePanelShowsTheTextOverTheTopMostControllerOncePerTrigger) {
    const Host& host = GetParam();
    std::string item = host.itemId;
    auto outcome = play(hostFlow(host, true, step(host.trigger, item + "2") + "- dump: panel\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const auto& presented = snapshot(outcome, "panel")["presented"];
    ASSERT_EQ(presented.size(), 1u) << presented.dump(1);
    EXPECT_EQ(presented[0]["controller"], "LexornaViewController");
    EXPECT_EQ(presented[0]["presenter"], host.presenter);
    EXPECT_EQ(presented[0]["animated"], true);
    EXPECT_THAT(presented[0]["tree"].dump(), testing::HasSubstr("\"text\":\"\\nSecond words\""));

    // A nil text still presents the panel, with the line break alone.
    outcome = play(hostFlow(host, true, step(host.trigger, item + "3") + "- dump: nil\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const auto& nilPanel = snapshot(outcome, "nil")["presented"];
    ASSERT_EQ(nilPanel.size(), 1u);
    EXPECT_THAT(nilPanel[0]["tree"].dump(), testing::HasSubstr("\"text\":\"\\n\""));
}

// An app update that changes a class of the text chain, or leaves the chat controller
// without a view, must not end the host: each drift the app can ship, played in a launch
// of its own, shows what the host's nil rule says. A label's own text property answers
// when the host's is gone; without the controller's view the trigger still shows the
// text, unless the overlay would lie in that view, and the dismissal does nothing.
TEST_P(HostAdapters, DriftedHostClassesShowWhatANilTextShowsAndTheHostRunsOn) {
    const Host& host = GetParam();
    std::string item = std::string(host.itemId) + "1";
    struct Drift {
        std::string content;
        std::optional<std::string> shown; // the overlay's text, or no overlay
    };
    std::optional<std::string> nilShows = host.nilShowsEmpty ? std::optional<std::string>("") : std::nullopt;
    std::vector<Drift> drifts{{"{view: null}", host.overlayNeedsChatView
                                                   ? std::nullopt
                                                   : std::optional<std::string>("First words")}};
    for (const char* link = host.driftLinks; *link; ++link)
        for (std::string answer : {"missing", "nil", "number"})
            drifts.push_back({std::string("{link: ") + *link + ", answers: " + answer + "}",
                              answer == "missing" && host.textWhenMissing ? host.textWhenMissing : nilShows});

    TemporaryFolder temp;
    std::string flows;
    for (std::size_t i = 0; i < drifts.size(); ++i) {
        std::string steps = step(host.trigger, item) + "- dump: drifted\n";
        if (drifts[i].shown)
            steps += step(host.dismiss, "");
        flows += " " + temp.write("drift-" + std::to_string(i) + ".yaml",
                                  hostFlow(host, false, steps, drifts[i].content))
                           .string();
    }
    auto outcome = runFlow(flows);
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const auto& played = outcome.report["flows"];
    ASSERT_EQ(played.size(), drifts.size());
    for (std::size_t i = 0; i < drifts.size(); ++i) {
        SCOPED_TRACE(drifts[i].content);
        const auto& launch = played[i]["launches"][0];
        ASSERT_TRUE(launch["crash"].is_null()) << launch["crash"].dump();
        auto overlays = Screen(launch["snapshots"][0]).overlays();
        if (!drifts[i].shown) {
            EXPECT_TRUE(overlays.empty());
            continue;
        }
        ASSERT_EQ(overlays.size(), 1u);
        EXPECT_EQ((*overlays[0].first)["text"], *drifts[i].shown);
    }
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostAdapters, testing::ValuesIn(Hosts), hostName);

TEST(InstagramOverlay, CarriesItsCloseButtonAtItsTopLeftCorner) {
    const Host& instagram = Hosts[3];
    auto outcome = play(hostFlow(instagram, false, step(instagram.trigger, "comment-1") + "- dump: shown\n"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    Screen shown(snapshot(outcome, "shown"));
    const json& overlay = *shown.overlays().at(0).first;
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
