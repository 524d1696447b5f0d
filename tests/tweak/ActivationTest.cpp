// What Lexorna does to a host app at load, launch by launch: which settings and filter
// lists install which host groups, in which order, and what the process reads.

#include "FileBytes.h"
#include "Launch.h"

#include "device/Device.h"
#include "foundation/PropertyList.h"

#include "foundation/NSObject.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace launch;
using device::RuntimeCall;
using testing::ElementsAre;
using testing::IsEmpty;

// Each launch names only the parts of its setup that differ from a plain one; g++ 12
// warns about the members that a designated initialiser leaves to their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

RuntimeCall hook(std::optional<std::string> cls, std::string selector, std::string result) {
    return {"MSHookMessageEx", std::move(cls), std::move(selector), std::nullopt, std::move(result)};
}
RuntimeCall add(std::optional<std::string> cls, std::string selector, std::string types, bool added) {
    return {"class_addMethod", std::move(cls), std::move(selector), std::move(types),
            added ? "true" : "false"};
}

std::string text(const RuntimeCall& call) {
    return call.call + " " + call.className.value_or("nil") + " " + call.selector + " " +
           call.types.value_or("-") + " " + call.result;
}

void expectCalls(const Observed& observed, const std::vector<RuntimeCall>& expected) {
    std::vector<std::string> got, wanted;
    for (const auto& call : observed.calls)
        got.push_back(text(call));
    for (const auto& call : expected)
        wanted.push_back(text(call));
    EXPECT_EQ(got, wanted);
}

std::string everyKeyTrue() {
    return settingsWithTrue({"Aw", "WhatsApp", "Youtube", "Twitter", "Instagram", "Messages"});
}

const std::vector<RuntimeCall> WhatsAppGroupInstalled = {
    hook("WAMessageContainerView", "layoutSubviews", "replaced"),
    add("WAMessageContainerView", "WAWordCopyCustom", "v@:", true),
    add("WAMessageContainerView", "WAWordCopy", "v@:", true),
    hook("WAChatViewController", "viewDidLoad", "replaced"),
    add("WAChatViewController", "Dismiss", "v@:", true),
};

} // namespace

TEST(Activation, WithoutTheMasterSwitchNothingIsInstalledAndTheFilterIsNotRead) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"no settings", std::nullopt},
        {"every host on, master switch off",
         settingsWithTrue({"WhatsApp", "Youtube", "Twitter", "Instagram", "Messages"})},
        {"master switch alone", settingsWithTrue({"Aw"})},
    };
    for (const auto& [name, settings] : cases) {
        SCOPED_TRACE(name);
        inLaunch({.settings = settings, .filter = filterListing({WhatsAppId})}, [](const Observed& observed) {
            ASSERT_EQ(observed.crash, "");
            EXPECT_THAT(observed.calls, IsEmpty());
            EXPECT_EQ(observed.opens(SettingsPath), 6) << "each of the six keys is a read of its own";
            EXPECT_EQ(observed.opens(FilterPath), 0);
        });
    }
}

TEST(Activation, InstagramGroupReplacesLayoutAndAddsItsThreeMethods) {
    inLaunch({.settings = settingsWithTrue({"Aw", "Instagram"}),
              .filter = filterListing({InstagramId}),
              .bundleIdentifier = InstagramId,
              .app = "instagram"},
             [](const Observed& observed) {
                 ASSERT_EQ(observed.crash, "");
                 expectCalls(observed, {
                                           hook("IGCoreTextView", "layoutSubviews", "replaced"),
                                           add("IGCoreTextView", "IGCopyCommentCustom:", "v@:@", true),
                                           add("IGCoreTextView", "IGCopyComment:", "v@:@", true),
                                           add("IGCoreTextView", "Close", "v@:", true),
                                       });
                 EXPECT_EQ(observed.opens(FilterPath), 1);
             });
}

TEST(Activation, EveryGroupIsAttemptedInOrderAndOnlyThePresentClassesChange) {
    inLaunch({.settings = everyKeyTrue(), .filter = filterListing({WhatsAppId, InstagramId})},
             [](const Observed& observed) {
                 ASSERT_EQ(observed.crash, "");
                 std::vector<RuntimeCall> expected = WhatsAppGroupInstalled;
                 std::vector<RuntimeCall> absent = {
                     hook(std::nullopt, "applyTypeStyle", "no-class"),
                     add(std::nullopt, "YTWordCopyCustom", "v@:", false),
                     add(std::nullopt, "YTWordCopy", "v@:", false),
                     hook(std::nullopt, "didTapCloseButton", "no-class"),
                     hook(std::nullopt, "layoutSubviews", "no-class"),
                     add(std::nullopt, "TWCopyDMCustom", "v@:", false),
                     add(std::nullopt, "TWCopyDM", "v@:", false),
                     hook(std::nullopt, "viewDidLoad", "no-class"),
                     add(std::nullopt, "Dismiss", "v@:", false),
                     hook(std::nullopt, "layoutSubviews", "no-class"),
                     add(std::nullopt, "IGCopyCommentCustom:", "v@:@", false),
                     add(std::nullopt, "IGCopyComment:", "v@:@", false),
                     add(std::nullopt, "Close", "v@:", false),
                     hook(std::nullopt, "layoutSubviews", "no-class"),
                     add(std::nullopt, "CopyMobileSMSCustom", "v@:", false),
                     add(std::nullopt, "CopyMobileSMS", "v@:", false),
                     hook(std::nullopt, "viewDidLoad", "no-class"),
                     add(std::nullopt, "Dismiss", "v@:", false),
                 };
                 expected.insert(expected.end(), absent.begin(), absent.end());
                 expectCalls(observed, expected);
                 EXPECT_EQ(observed.opens(FilterPath), 5) << "the filter is read once per enabled group";
                 EXPECT_THAT(observed.log, IsEmpty()) << "the library reports nothing";
                 EXPECT_TRUE(observed.exportsBundleCheck);
             });
}

TEST(Activation, AppNotListedInstallsNothing) {
    struct Case {
        const char* name;
        std::optional<std::string> filter;
        std::optional<std::string> bundleIdentifier = WhatsAppId;
    };
    const Case cases[] = {
        {"other apps only", filterListing({InstagramId, "com.apple.MobileSMS"})},
        {"letter case differs", filterListing({"net.WhatsApp.WhatsApp"})},
        {"prefix only", filterListing({"net.whatsapp"})},
        {"no filter file", std::nullopt},
        {"filter not a property list", std::string("<plist><dict><key>Filter")},
        {"Filter not a dictionary",
         xmlPlist("<dict><key>Filter</key><string>net.whatsapp.WhatsApp</string></dict>")},
        {"Bundles not an array", xmlPlist("<dict><key>Filter</key><dict><key>Bundles</"
                                          "key><string>net.whatsapp.WhatsApp</string></dict></dict>")},
        {"app without a bundle identifier", filterListing({WhatsAppId}), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        inLaunch({.settings = everyKeyTrue(), .filter = c.filter, .bundleIdentifier = c.bundleIdentifier},
                 [](const Observed& observed) {
                     EXPECT_EQ(observed.crash, "");
                     EXPECT_THAT(observed.calls, IsEmpty());
                     EXPECT_EQ(observed.opens(FilterPath), 5);
                     EXPECT_THAT(observed.log, IsEmpty());
                 });
    }
}

// How each kind of value reads is the platform's -boolValue; here, one of each kind.
TEST(Activation, SettingsInstallTheWhatsAppGroupExactlyWhenFoundationReadsTheMasterSwitchAsOn) {
    auto withMaster = [](std::string value) {
        return xmlPlist("<dict><key>Aw</key>" + value + "<key>WhatsApp</key><true/></dict>");
    };
    const std::string binarySettings = binaryPlist(settingsWithTrue({"Aw", "WhatsApp"}));
    // White space after the list, up to a size: a larger file is no settings at all.
    auto padded = [](std::size_t size) {
        std::string settings = settingsWithTrue({"Aw", "WhatsApp"});
        return settings + std::string(size - settings.size(), '\n');
    };
    const std::size_t bound = PropertyListLimits{}.maxBytes;
    struct Case {
        const char* value;
        std::string settings;
        bool installs;
        std::string filter = filterListing({WhatsAppId});
    };
    const Case cases[] = {
        {"\"Yes\"", withMaster("<string>Yes</string>"), true},
        {"0", withMaster("<integer>0</integer>"), false},
        {"an array", withMaster("<array><true/></array>"), false},
        {"binary settings", binarySettings, true},
        {"a root that is no dictionary",
         xmlPlist("<array><string>Aw</string><string>WhatsApp</string></array>"), false},
        {"not a property list", "not a plist", false},
        {"truncated binary settings", binarySettings.substr(0, binarySettings.size() / 2), false},
        {"settings as large as a read takes", padded(bound), true},
        {"settings a byte larger", padded(bound + 1), false},
        {"the app listed twice", settingsWithTrue({"Aw", "WhatsApp"}), true,
         filterListing({InstagramId, WhatsAppId, WhatsAppId})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        inLaunch({.settings = c.settings, .filter = c.filter}, [&](const Observed& observed) {
            EXPECT_EQ(observed.crash, "");
            expectCalls(observed, c.installs ? WhatsAppGroupInstalled : std::vector<RuntimeCall>{});
            EXPECT_EQ(observed.opens(FilterPath), c.installs ? 1 : 0);
        });
    }
}

TEST(Activation, HostMethodsAreKeptWhereTheHostHasThemAndMissingOnesChangeNothing) {
    launch::Setup setup{
        .settings = settingsWithTrue({"Aw", "WhatsApp", "Instagram"}),
        .filter = filterListing({WhatsAppId}),
        .prepareHost =
            [] {
                // The host already has a Dismiss of its own, and an IGCoreTextView that
                // is not a view: nothing to replace there.
                class_addMethod(objc_getClass("WAChatViewController"), sel_registerName("Dismiss"),
                                objc::imp(+[](id, SEL) {}), "v@:");
                objc_registerClassPair(objc_allocateClassPair(NSObject::staticClass(), "IGCoreTextView", 0));
            },
    };
    inLaunch(setup, [](const Observed& observed) {
        ASSERT_EQ(observed.crash, "");
        auto expected = WhatsAppGroupInstalled;
        expected[4] = add("WAChatViewController", "Dismiss", "v@:", false);
        expected.push_back(hook("IGCoreTextView", "layoutSubviews", "no-method"));
        expected.push_back(add("IGCoreTextView", "IGCopyCommentCustom:", "v@:@", true));
        expected.push_back(add("IGCoreTextView", "IGCopyComment:", "v@:@", true));
        expected.push_back(add("IGCoreTextView", "Close", "v@:", true));
        expectCalls(observed, expected);
    });
}

TEST(Activation, HostClassesThatAreNoLongerViewsOrControllersAreLeftAlone) {
    launch::Setup setup{
        .settings = settingsWithTrue({"Aw", "WhatsApp"}),
        .filter = filterListing({WhatsAppId}),
        .app = nullptr,
        .prepareHost =
            [] {
                // After a host update: a controller with no view, a message that is no view.
                for (auto [name, selector] : {std::pair{"WAChatViewController", "viewDidLoad"},
                                              std::pair{"WAMessageContainerView", "layoutSubviews"}}) {
                    Class cls = objc_allocateClassPair(NSObject::staticClass(), name, 0);
                    class_addMethod(cls, sel_registerName(selector), objc::imp(+[](id, SEL) {}), "v@:");
                    objc_registerClassPair(cls);
                }
            },
    };
    inLaunch(setup, [](const Observed& observed) {
        ASSERT_EQ(observed.crash, "");
        objc::AutoreleasePool pool;
        EXPECT_NO_THROW(objc::send(objc::make(objc_getClass("WAChatViewController")), "viewDidLoad"));
        EXPECT_NO_THROW(objc::send(objc::make(objc_getClass("WAMessageContainerView")), "layoutSubviews"));
    });
}

TEST(Activation, AClassNameAnotherLibraryTookLeavesTheLibraryWithoutItAndTheHooksThatNeedIt) {
    auto takeName = [](const char* name) {
        return [name] { objc_registerClassPair(objc_allocateClassPair(NSObject::staticClass(), name, 0)); };
    };
    // Every hook makes its recognisers through the factory: without it, nothing.
    inLaunch({.settings = everyKeyTrue(),
              .filter = filterListing({WhatsAppId}),
              .prepareHost = takeName("VDManager")},
             [](const Observed& observed) {
                 ASSERT_EQ(observed.crash, "");
                 EXPECT_THAT(observed.calls, IsEmpty());
             });
    // Without the panel, the inline mode goes on and the panel's action is not added.
    inLaunch({.settings = settingsWithTrue({"Aw", "WhatsApp"}),
              .filter = filterListing({WhatsAppId}),
              .prepareHost = takeName("LexornaViewController")},
             [](const Observed& observed) {
                 ASSERT_EQ(observed.crash, "");
                 auto expected = WhatsAppGroupInstalled;
                 expected.erase(expected.begin() + 1);
                 expectCalls(observed, expected);
             });
}

TEST(Activation, OnARootlessDeviceTheFilterIsFoundUnderTheJailbreaksPrefix) {
    launch::Setup setup{
        .settings = settingsWithTrue({"Aw", "WhatsApp"}),
        .filter = std::nullopt,
        .prepareHost =
            [] {
                putFile(device::Device::resolve(std::string("/var/jb") + FilterPath),
                        filterListing({WhatsAppId}));
            },
    };
    inLaunch(setup, [](const Observed& observed) {
        ASSERT_EQ(observed.crash, "");
        expectCalls(observed, WhatsAppGroupInstalled);
    });
}
