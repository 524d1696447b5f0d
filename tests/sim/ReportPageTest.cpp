// The report's page: each step where it played, the screenshots beside the steps that
// took them, and what the apps put in texts shown as text, never as markup.

#include "sim/report/ReportPage.h"
#include "sim/flow/FlowParser.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

Flow parsed(const std::string& yaml) {
    auto flow = parseFlow(yaml, "flows/<page>.yaml");
    EXPECT_TRUE(flow) << (flow ? "" : flow.error().text());
    return flow ? std::move(*flow) : Flow{};
}

StepResult ok(const char* name) {
    return StepResult::passed(name);
}

const Flow TwoLaunches = parsed(R"(app: whatsapp
screen: [320, 568]
---
- launch
- doubleTapOn: {id: message-1}
- takeScreenshot: overlay
- assertPasteboard: "<b>bold</b>"
- relaunch
- takeScreenshot: never
- copy
)");

// The first launch held but for its assertion; the second crashed in its first step.
FlowReport twoLaunchesReport() {
    FlowReport report;
    report.file = "flows/<page>.yaml";
    report.stepCount = 7;
    report.passed = 0;
    report.failed = 1;
    report.failure = "step 4 assertPasteboard: the pasteboard holds \"<script>alert(1)</script>\"";

    LaunchReport first;
    first.process = {
        {"home", "/var/mobile/Containers/Data/Application/A"},
        {"loaded", {"/Library/MobileSubstrate/DynamicLibraries/Lexorna.dylib"}},
        {"log", {"Lexorna: <hooked> & ready"}},
        {"crash", nullptr},
        {"fileOpens", {{"/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist", 7}}},
        {"snapshots",
         {{{"label", "after"},
           {"window",
            {{"tree",
              {{"class", "UIView"},
               {"id", "chat"},
               {"frame", {0, 0, 320, 568}},
               {"subviews", {{{"class", "UILabel"}, {"text", "<i>Hi</i>"}, {"subviews", Json::array()}}}}}}}},
           {"presented", Json::array()},
           {"pasteboard", "copied"},
           {"files", {{"~/Library/Lexorna", {{"size", 3}, {"utf8", "abc"}}}}}}}}};
    StepResult tap = ok("doubleTapOn");
    tap.fired.push_back({{"recognizer", "UITapGestureRecognizer"},
                         {"target", "WAMessageContainerView"},
                         {"action", "WAWordCopy"}});
    first.steps = {
        ok("launch"), tap, ok("takeScreenshot"),
        StepResult::failed("assertPasteboard", "the pasteboard holds \"<script>alert(1)</script>\"")};
    first.played = 4;

    LaunchReport second =
        LaunchReport::lost("net.whatsapp.WhatsApp", "/var/mobile/x", "signal 11 (Segmentation fault)");
    second.steps = {StepResult::failed("relaunch", "crashed: signal 11 (Segmentation fault)"),
                    StepResult::failed("takeScreenshot", "not run (the launch had ended)"),
                    StepResult::failed("copy", "not run (the launch had ended)")};
    second.played = 1;

    // Each result names its step, as the process that played it tells.
    std::size_t index = 0;
    for (auto* launch : {&first, &second})
        for (StepResult& result : launch->steps) {
            const Step& step = TwoLaunches.steps[index++];
            result.index = step.index;
            result.line = step.line;
            result.text = step.description();
        }
    report.launches = {first, second};
    return report;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(ReportPage, ShowsEachStepWithTheScreenshotItTookAndNothingAsMarkup) {
    std::string page = reportPage({TwoLaunches}, {twoLaunchesReport()}, "my shots");

    // Only the screenshot that was written is shown, at the screen's size in points, by a
    // link that survives the space in its folder's name.
    EXPECT_EQ(count(page, "<img "), 1u);
    EXPECT_NE(page.find("<img src=\"my%20shots/overlay.png\" alt=\"Screenshot overlay\" width=\"320\" "
                        "height=\"568\">"),
              std::string::npos);
    // It sits in its step, after the tap that fired and before the assertion.
    auto tap = page.find("doubleTapOn: {id: message-1}");
    auto fired = page.find("fired UITapGestureRecognizer → -[WAMessageContainerView WAWordCopy]");
    auto image = page.find("<img ");
    auto assertion = page.find("assertPasteboard: &quot;&lt;b&gt;bold&lt;/b&gt;&quot;");
    ASSERT_NE(assertion, std::string::npos);
    EXPECT_LT(tap, fired);
    EXPECT_LT(fired, image);
    EXPECT_LT(image, assertion);

    // Whatever an app or a flow wrote is text on the page.
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("Lexorna: &lt;hooked&gt; &amp; ready"), std::string::npos);
    EXPECT_NE(page.find("flows/&lt;page&gt;.yaml"), std::string::npos);

    // The crash is named, and the steps after it are marked as not run, not as failed.
    EXPECT_NE(page.find("Crashed: signal 11 (Segmentation fault)"), std::string::npos);
    EXPECT_EQ(count(page, "class=\"step skipped\""), 2u);
    EXPECT_EQ(count(page, "class=\"step failed\""), 2u);
    EXPECT_EQ(count(page, "class=\"step ok\""), 3u);
    EXPECT_NE(page.find("<title>Lexorna report: 1 flow, 1 failed</title>"), std::string::npos);

    // A dump shows its view tree, the pasteboard and the files, folded; the file opens too.
    auto snapshot = page.find("<details class=\"snapshot\"><summary>Snapshot &quot;after&quot;</summary>");
    ASSERT_NE(snapshot, std::string::npos);
    EXPECT_LT(snapshot, page.find("<code>UIView#chat [0,0,320,568]</code>"));
    EXPECT_LT(snapshot, page.find("<code>UILabel &quot;&lt;i&gt;Hi&lt;/i&gt;&quot;</code>"));
    EXPECT_NE(page.find("pasteboard: &quot;copied&quot;"), std::string::npos);
    EXPECT_NE(page.find("<code>~/Library/Lexorna</code>"), std::string::npos);
    EXPECT_NE(page.find("file opens: /var/mobile/Library/Preferences/com.veldmoor.lexorna.plist × 7"),
              std::string::npos);
}

namespace {

// The rule of the page's style that starts with `selector {`, or nothing.
std::string ruleOf(const std::string& page, const std::string& selector) {
    auto start = page.find("\n" + selector + " {");
    if (start == std::string::npos)
        return "";
    return page.substr(start + 1, page.find('}', start) - start);
}

} // namespace

// A folded flow's badge stands inside its <summary>: it must carry its colour itself, so
// that every flow shows at a glance whether it held, folded or not.
TEST(ReportPage, EveryFlowShowsItsStateInABadgeColouredWhereverItStands) {
    const Flow plain = parsed("app: twitter\n---\n- launch\n");
    FlowReport held = FlowReport::about(plain);
    held.file = "flows/held.yaml";
    FlowReport left = FlowReport::left(plain, "it has no tags, none of --include-tags smoke");
    left.file = "flows/left.yaml";
    left.warnings = {"flows/left.yaml:3: settings.values.Aw: the text \"<yes>\", not a boolean"};
    FlowReport broken = FlowReport::unreadable("flows/broken.yaml", "flows/broken.yaml:2: app: missing");

    std::string page = reportPage({TwoLaunches, plain, plain, plain},
                                  {twoLaunchesReport(), held, left, broken}, "shots");
    for (const char* state : {"ok", "failed", "skipped"}) {
        const std::string badge = std::string("<span class=\"badge ") + state + "\">" + state + "</span>";
        EXPECT_NE(page.find(badge), std::string::npos) << state;
        // Its own rule gives it a colour of its own: the badge's text is white.
        std::string rule = ruleOf(page, std::string(".badge.") + state);
        EXPECT_NE(rule.find("background: #"), std::string::npos) << state << ": " << rule;
        EXPECT_EQ(rule.find("background: #fff"), std::string::npos) << state;
    }
    EXPECT_EQ(count(page, "<span class=\"badge "), 4u);
    EXPECT_EQ(count(page, "<span class=\"badge\""), 0u) << "no badge without a state";
    EXPECT_NE(ruleOf(page, ".badge").find("color: #fff"), std::string::npos);

    // Folded, the flows that held or were left out; what was left out says why, and what
    // a flow was warned of stands under it as text.
    EXPECT_NE(page.find("<details>\n<summary><h2><span class=\"badge ok\">ok</span> flows/held.yaml"),
              std::string::npos);
    EXPECT_NE(page.find("Not played: it has no tags, none of --include-tags smoke"), std::string::npos);
    EXPECT_NE(page.find("Warning: flows/left.yaml:3: settings.values.Aw: the text &quot;&lt;yes&gt;&quot;"),
              std::string::npos);
    EXPECT_NE(page.find("<p class=\"meta\">4 flows: 1 held, 2 failed, 1 skipped</p>"), std::string::npos);
    EXPECT_NE(page.find("<p class=\"failure\">flows/broken.yaml:2: app: missing</p>"), std::string::npos);
}
