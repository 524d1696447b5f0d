// Playing flows: device preparation, steps before the first launch, one process per
// launch, and crashes that end a launch without hiding it or stopping later launches.

#include "FileBytes.h"
#include "TemporaryFolder.h"

#include "sim/flow/FlowParser.h"
#include "sim/play/DevicePaths.h"
#include "sim/play/FlowRunner.h"

#include "device/Device.h"
#include "objc/Exception.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

using namespace sim;

namespace {

// A session whose app misbehaves on cue: it raises on tapOn, dies of SIGSEGV on
// doubleTapOn, and plays everything else as the base session does.
class MisbehavingSession : public LaunchSession {
public:
    using LaunchSession::LaunchSession;

    StepResult run(const Step& step) override {
        if (step.kind == StepKind::TapOn)
            objc::raise(objc::NSInvalidArgumentException,
                        "-[WAMessageContainerView frobnicate]: unrecognized selector sent to instance 0x1");
        if (step.kind == StepKind::DoubleTapOn) {
            std::signal(SIGSEGV, SIG_DFL);
            std::raise(SIGSEGV);
        }
        return LaunchSession::run(step);
    }
};

class FlowRunnerTest : public testing::Test {
protected:
    void SetUp() override { device::Device::setRoot(device_.path()); }

    FlowReport play(const std::string& yaml, const Installation& installation = {},
                    const FlowOptions& options = {}) {
        auto flow = parseFlow(yaml, "flows/test.yaml", options);
        EXPECT_TRUE(flow) << (flow ? "" : flow.error().text());
        SessionContext context{device_.path(), device_.path()};
        FlowRunner runner([context] { return std::make_unique<MisbehavingSession>(context); }, installation,
                          progress_);
        return runner.run(*flow);
    }

    bool onDevice(const char* path) const { return std::filesystem::exists(device::Device::resolve(path)); }

    TemporaryFolder device_;
    std::ostringstream printed_;
    Progress progress_{printed_, false};
};

} // namespace

TEST_F(FlowRunnerTest, ACrashEndsTheFlowAndWhatFollowsIsSkipped) {
    FlowReport report = play(R"(app: whatsapp
install: false
---
- launch
- assertFile: {path: ~/Library, exists: true}
- tapOn: Hello
- assertFile: {path: ~/Library, exists: true}
- relaunch
- assertFile: {path: ~/Documents, exists: true}
)");
    EXPECT_FALSE(report.ok());
    EXPECT_EQ(report.summary(),
              "FAIL flows/test.yaml:6: tapOn: \"Hello\": crashed: NSInvalidArgumentException: "
              "-[WAMessageContainerView frobnicate]: unrecognized selector sent to instance 0x1");
    EXPECT_EQ(report.passed, 1) << "the assertions that never ran count neither way";
    EXPECT_EQ(report.failed, 0);
    ASSERT_EQ(report.launches.size(), 2u);

    const LaunchReport& raised = report.launches[0];
    EXPECT_EQ(raised.crash(),
              "NSInvalidArgumentException: -[WAMessageContainerView frobnicate]: unrecognized "
              "selector sent to instance 0x1");
    ASSERT_EQ(raised.steps.size(), 4u);
    EXPECT_TRUE(raised.steps[1].ok);
    EXPECT_EQ(raised.steps[2].error, "crashed: " + *raised.crash());
    EXPECT_TRUE(raised.steps[3].skipped);
    EXPECT_EQ(raised.steps[3].line, 7u);
    EXPECT_EQ(raised.process["bundleId"], "net.whatsapp.WhatsApp");
    EXPECT_TRUE(report.launches[1].steps[1].skipped) << "the next launch does not play";

    FlowReport killed = play(R"(app: whatsapp
install: false
---
- launch
- doubleTapOn: Hello
- layout
)");
    ASSERT_EQ(killed.launches.size(), 1u);
    const LaunchReport& died = killed.launches[0];
    EXPECT_EQ(died.crash(), "signal 11 (Segmentation fault)");
    ASSERT_EQ(died.steps.size(), 3u);
    EXPECT_TRUE(died.steps[0].ok);
    EXPECT_EQ(died.steps[1].error, "crashed: signal 11 (Segmentation fault)");
    EXPECT_TRUE(died.steps[2].skipped);
    // What the process could not tell any more, the simulator still knows.
    EXPECT_EQ(died.process["home"], raised.process["home"]);
    EXPECT_EQ(killed.toJson()["launches"][0]["crash"], "signal 11 (Segmentation fault)");
    EXPECT_FALSE(killed.toJson().contains("steps")) << "no step played before the first launch";
}

TEST_F(FlowRunnerTest, StepsBeforeTheFirstLaunchPlayInTheSimulator) {
    FlowReport report = play(R"(app: instagram
install: false
settings: {raw: "before"}
---
- assertFile: {path: /var/mobile/Library/Preferences/com.veldmoor.lexorna.plist, text: before}
- setSettings: {raw: "after"}
- assertFile: {path: /var/mobile/Library/Preferences/com.veldmoor.lexorna.plist, text: before}
)");
    EXPECT_TRUE(report.launches.empty());
    ASSERT_EQ(report.earlySteps.size(), 3u);
    EXPECT_EQ(report.passed, 1);
    EXPECT_EQ(report.failed, 1);
    EXPECT_EQ(
        report.summary(),
        "FAIL flows/test.yaml:7: assertFile: {path: "
        "/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist, "
        "text: \"before\"}: /var/mobile/Library/Preferences/com.veldmoor.lexorna.plist (" +
            device::Device::resolve("/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist").string() +
            ") holds \"after\", expected \"before\"");
    EXPECT_EQ(report.toJson()["steps"].size(), 3u);
}

TEST_F(FlowRunnerTest, PreparationWritesInstallsAndRemovesWhatTheHeaderSays) {
    TemporaryFolder build;
    Installation installation{build.write("lib/Lexorna.dylib", "library bytes"),
                              build.path() / "Lexorna.bundle",
                              build.write("Lexorna.plist", "the package's filter")};
    build.write("Lexorna.bundle/Share.png", "png");

    FlowReport report = play("app: whatsapp\nsettings: {values: {Aw: true}}\n---\n- launch\n", installation);
    EXPECT_TRUE(report.ok()) << report.summary();
    EXPECT_TRUE(onDevice(SettingsPath));
    EXPECT_EQ(contentsOf(device::Device::resolve(FilterListPath)), "the package's filter");
    EXPECT_TRUE(onDevice("/Library/Application Support/Lexorna.bundle/Share.png"));
    EXPECT_EQ(contentsOf(device::Device::resolve(LibraryPath)), "library bytes");
    EXPECT_EQ(report.launches[0].process["home"].get<std::string>().rfind(device::ContainersFolder, 0), 0u);

    report = play("app: whatsapp\nfilter: none\ninstall: false\n---\n- launch\n", installation);
    EXPECT_TRUE(report.ok()) << report.summary();
    EXPECT_FALSE(onDevice(SettingsPath));
    EXPECT_FALSE(onDevice(FilterListPath));
    EXPECT_FALSE(onDevice(LibraryPath));
    EXPECT_FALSE(onDevice(ResourcesPath));

    // Without a built library there is nothing to install: the flow fails, and says why.
    report = play("app: whatsapp\n---\n- launch\n",
                  Installation{build.path() / "missing.dylib", std::nullopt, std::nullopt});
    EXPECT_FALSE(report.ok());
    EXPECT_TRUE(report.launches.empty());
    EXPECT_EQ(report.summary().rfind("FAIL flows/test.yaml: device: Lexorna is not built", 0), 0u)
        << report.summary();
}

// A subflow's step plays in its place and is reported where it is written, however the
// flow that ran it names it.
TEST_F(FlowRunnerTest, ASubflowsStepIsReportedWhereItIsWritten) {
    FlowOptions options{{{"WHAT", "Hello"}}, [](const std::string& file) -> support::Expected<std::string, std::string> {
                            if (file == "flows/shared/tap.yaml")
                                return std::string("- dump: before\n- tapOn: ${WHAT}\n");
                            return support::Unexpected(std::string("no such flow file"));
                        }};
    FlowReport report = play(R"(app: whatsapp
install: false
---
- launch
- runFlow: shared/tap.yaml
- dump: after
)",
                             {}, options);
    EXPECT_EQ(report.summary(), "FAIL flows/test.yaml -e WHAT=Hello: flows/shared/tap.yaml:2: tapOn: \"Hello\": "
                                "crashed: NSInvalidArgumentException: -[WAMessageContainerView frobnicate]: "
                                "unrecognized selector sent to instance 0x1");
    ASSERT_EQ(report.launches.size(), 1u);
    const auto& steps = report.launches[0].steps;
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[1].file + ":" + std::to_string(steps[1].line), "flows/shared/tap.yaml:1");
    EXPECT_EQ(steps[2].file + ":" + std::to_string(steps[2].line), "flows/shared/tap.yaml:2");
    EXPECT_EQ(steps[2].text, "tapOn: \"Hello\"");
    EXPECT_TRUE(steps[3].skipped);
    EXPECT_EQ(steps[3].file + ":" + std::to_string(steps[3].line), "flows/test.yaml:6");
    EXPECT_EQ(report.toJson()["launches"][0]["steps"][2]["file"], "flows/shared/tap.yaml");
    EXPECT_EQ(report.toJson()["env"], Json({{"WHAT", "Hello"}}));
}
