// Load-time activation seen from outside, launch by launch through lexorna-sim: which
// host methods Lexorna replaced or added, in which order, and which files it opened.

#include "FlowReport.h"

#include <gmock/gmock.h>

using nlohmann::json;
using testing::ElementsAreArray;

namespace {

constexpr const char* Settings = "/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist";
constexpr const char* Filter = "/Library/MobileSubstrate/DynamicLibraries/Lexorna.plist";

int opens(const json& launch, const char* path) {
    return launch["fileOpens"].value(path, 0);
}

// "class selector result" per runtime call, in call order.
std::vector<std::string> calls(const json& launch) {
    std::vector<std::string> out;
    for (const auto& call : launch["runtime"]) {
        std::string cls = call["class"].is_null() ? "nil" : call["class"].get<std::string>();
        out.push_back(cls + " " + call["selector"].get<std::string>() + " " +
                      (call["result"].is_boolean() ? (call["result"].get<bool>() ? "true" : "false")
                                                   : call["result"].get<std::string>()));
    }
    return out;
}

const std::vector<std::string> WhatsAppInstalled = {
    "WAMessageContainerView layoutSubviews replaced",
    "WAMessageContainerView WAWordCopyCustom true",
    "WAMessageContainerView WAWordCopy true",
    "WAChatViewController viewDidLoad replaced",
    "WAChatViewController Dismiss true",
};

struct Inert {
    const char* flow;
    int settingsOpens; // the six enabling keys, each read anew
    int filterOpens;
};

} // namespace

class InertFlows : public testing::TestWithParam<Inert> {};

TEST_P(InertFlows, InstallNothingAndReportNothing) {
    auto outcome = runFlow(testFlow(std::string("activation/") + GetParam().flow));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const json& launch = outcome.launch();
    EXPECT_TRUE(launch["runtime"].empty()) << launch["runtime"].dump(1);
    EXPECT_EQ(opens(launch, Settings), GetParam().settingsOpens);
    EXPECT_EQ(opens(launch, Filter), GetParam().filterOpens);
    EXPECT_TRUE(launch["log"].empty()) << launch["log"].dump(1);
    EXPECT_TRUE(launch["crash"].is_null());
}

INSTANTIATE_TEST_SUITE_P(Activation, InertFlows,
                         testing::Values(Inert{"no-settings.yaml", 6, 0},
                                         Inert{"master-switch-off.yaml", 6, 0}, Inert{"hosts-off.yaml", 6, 0},
                                         Inert{"master-switch-no.yaml", 6, 0},
                                         Inert{"master-switch-0.yaml", 6, 0}));

// The loader reads the same filter list: a library it does not map cannot install anything.
TEST(ActivationFlows, AnAppTheFilterDoesNotListIsNeverInjected) {
    for (const char* flow : {"activation/app-not-listed.yaml", "activation/bundles-empty.yaml",
                             "activation/case-mismatch.yaml"}) {
        auto outcome = runFlow(testFlow(flow));
        ASSERT_EQ(outcome.status, 0) << flow;
        EXPECT_TRUE(outcome.launch()["loaded"].empty()) << flow;
        EXPECT_TRUE(outcome.launch()["runtime"].empty()) << flow;
    }
}

TEST(ActivationFlows, AllGroupsAreAttemptedInOrderAndOnlyWhatsAppsTakeEffect) {
    auto outcome = runFlow(testFlow("activation/all-groups-in-whatsapp.yaml"));
    ASSERT_EQ(outcome.status, 0) << outcome.report.dump(1);
    const json& launch = outcome.launch();
    std::vector<std::string> expected = WhatsAppInstalled;
    for (const char* absent :
         {"nil applyTypeStyle no-class", "nil YTWordCopyCustom false", "nil YTWordCopy false",
          "nil didTapCloseButton no-class", "nil layoutSubviews no-class", "nil TWCopyDMCustom false",
          "nil TWCopyDM false", "nil viewDidLoad no-class", "nil Dismiss false",
          "nil layoutSubviews no-class", "nil IGCopyCommentCustom: false", "nil IGCopyComment: false",
          "nil Close false", "nil layoutSubviews no-class", "nil CopyMobileSMSCustom false",
          "nil CopyMobileSMS false", "nil viewDidLoad no-class", "nil Dismiss false"})
        expected.push_back(absent);
    EXPECT_THAT(calls(launch), ElementsAreArray(expected));
    EXPECT_EQ(opens(launch, Filter), 5) << "the filter is read anew for each enabled group";
    EXPECT_EQ(launch["loaded"], json::array({"/Library/MobileSubstrate/DynamicLibraries/Lexorna.dylib"}));
    EXPECT_TRUE(launch["log"].empty());
}

TEST(ActivationFlows, InstagramGetsItsTriggerAndThreeMethods) {
    auto outcome = runFlow(testFlow("activation/instagram-only.yaml"));
    ASSERT_EQ(outcome.status, 0);
    EXPECT_THAT(calls(outcome.launch()),
                ElementsAreArray({"IGCoreTextView layoutSubviews replaced",
                                  "IGCoreTextView IGCopyCommentCustom: true",
                                  "IGCoreTextView IGCopyComment: true", "IGCoreTextView Close true"}));
    std::vector<std::string> types;
    for (const auto& call : outcome.launch()["runtime"])
        if (call.contains("types"))
            types.push_back(call["types"]);
    EXPECT_THAT(types, ElementsAreArray({"v@:@", "v@:@", "v@:"}));
}

TEST(ActivationFlows, ListedTwiceOrReadAsTrueInstallsEachEntryOnce) {
    for (const char* flow : {"activation/listed-twice.yaml", "activation/master-switch-yes.yaml",
                             "activation/master-switch-2.yaml"}) {
        auto outcome = runFlow(testFlow(flow));
        ASSERT_EQ(outcome.status, 0) << flow;
        EXPECT_THAT(calls(outcome.launch()), ElementsAreArray(WhatsAppInstalled)) << flow;
    }
}
