// The simulated apps as an injected library relies on them: their host classes and which
// host methods run when, and the controllers the root presents. How their screens look
// is the golden pictures' to show. Every launch runs in a child process.

#include "AppProcess.h"

#include "apps/AppLaunch.h"
#include "apps/ContentItems.h"
#include "foundation/NSString.h"
#include "uikit/LayoutPass.h"
#include "uikit/UIApplication.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

UIView* view(UIWindow* window, std::string_view identifier) {
    UIView* found = findView(window, identifier);
    EXPECT_NE(found, nullptr) << "no view " << identifier;
    return found;
}

std::size_t callsOn(const char* selector, id receiver) {
    const auto& receivers = countedReceivers(selector);
    return std::count(receivers.begin(), receivers.end(), receiver);
}

} // namespace

TEST(Apps, AreFoundByNameOrBundleIdentifier) {
    ASSERT_EQ(apps::allApps().size(), 5u);
    EXPECT_EQ(apps::findApp("whatsapp")->bundleIdentifier, "net.whatsapp.WhatsApp");
    EXPECT_EQ(apps::findApp("YouTube")->name, "youtube");
    EXPECT_EQ(apps::findApp("com.atebits.Tweetie2")->name, "twitter");
    EXPECT_EQ(apps::findApp("COM.ATEBITS.TWEETIE2"), nullptr) << "bundle identifiers match exactly";
    EXPECT_EQ(apps::findApp("telegram"), nullptr);
}

TEST(Apps, ContentItemsGiveTheHostsText) {
    EXPECT_EQ(apps::itemText("héllo"), "héllo");
    EXPECT_EQ(apps::itemText(nullptr), std::nullopt);
    EXPECT_EQ(apps::itemText(42), "42");
    EXPECT_EQ(apps::itemText(json{{"text", "from a map"}, {"textToSpeak", false}}), "from a map");
    EXPECT_EQ(apps::itemText(json{{"textToSpeak", 42}}), std::nullopt);
    EXPECT_TRUE(apps::contentList(json{{"messages", "not a list"}}, "messages").empty());
    EXPECT_TRUE(apps::contentList(nullptr, "messages").empty());
}

// What the library hooks in each app: the item's host class, the controller that builds
// the screen, and the host method that runs on every layout pass. How each item answers
// its text is played through the library by the host table of the simulator's tests.
TEST(Apps, EachAppBuildsItsScreenInItsHostClassesAndRunsItsHookedMethodOnEveryLayout) {
    struct Case {
        const char* app;
        const char* list;
        const char* item;
        const char* itemClass;
        const char* perLayout; // the item's host method, run once more by each layout pass
        const char* controller;
        const char* screen; // the view id of the controller's view
    };
    const Case cases[] = {
        {"whatsapp", "messages", "message-1", "WAMessageContainerView", "layoutSubviews",
         "WAChatViewController", "chat"},
        {"youtube", "comments", "comment-1", "YTFormattedStringLabel", "applyTypeStyle",
         "YTEngagementPanelViewController", "engagement-panel"},
        {"twitter", "messages", "dm-1", "TFNSpacerView", "layoutSubviews",
         "T1DirectMessageConversationEntriesViewController", "conversation"},
        {"instagram", "comments", "comment-1", "IGCoreTextView", "layoutSubviews",
         "IGCommentThreadViewController", "comments"},
        {"messages", "messages", "balloon-1", "CKBalloonTextView", "layoutSubviews",
         "CKTranscriptCollectionViewController", "transcript"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.app);
        inChildProcess([&] {
            UIWindow* window = launchApp(c.app, {{c.list, {"first", "second"}}},
                                         [&] { countCalls(c.itemClass, c.perLayout); });
            UIView* item = view(window, c.item);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->isa()->name, c.itemClass);
            EXPECT_EQ(view(window, c.screen)->viewController()->isa()->name, c.controller);
            EXPECT_TRUE(item->isDescendantOf(view(window, c.screen)));
            std::size_t before = callsOn(c.perLayout, item);
            EXPECT_GE(before, 1u) << "the first layout pass";
            layoutEverything(window);
            EXPECT_EQ(callsOn(c.perLayout, item), before + 1);
        });
    }
}

TEST(AppLaunch, RootPresentsAChainOfPlainControllers) {
    inChildProcess([] {
        UIWindow* window = launchApp(
            "instagram", {{"comments", {"x"}}, {"rootPresents", {"SheetController", "UIViewController"}}});
        UIViewController* root = window->rootViewController();
        EXPECT_EQ(UIApplication::sharedApplication()->keyWindow(), window);
        EXPECT_EQ(window->frame(), CGRectMake(0, 0, 390, 844));
        UIViewController* sheet = root->presentedViewController();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->isa()->name, "SheetController");
        EXPECT_EQ(sheet->isa()->superclass, UIViewController::staticClass());
        UIViewController* top = sheet->presentedViewController();
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->isa(), UIViewController::staticClass());
        EXPECT_EQ(top->presentingViewController(), sheet);
        EXPECT_EQ(top->presentedViewController(), nullptr);
    });
}

TEST(AppLaunch, RootPresentsRefusesWhatIsNoController) {
    inChildProcess([] {
        EXPECT_THROW(launchApp("messages", {{"rootPresents", {"CKTextMessagePartChatItem"}}}),
                     objc::Exception);
    });
    inChildProcess([] { EXPECT_THROW(launchApp("messages", {{"rootPresents", {7}}}), objc::Exception); });
}
