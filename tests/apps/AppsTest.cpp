// What the simulated apps show and how their host classes answer, read through the
// runtime as an injected library reads them. Every launch runs in a child process.

#include "AppProcess.h"

#include "apps/AppLaunch.h"
#include "apps/ContentItems.h"
#include "foundation/NSArray.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "uikit/LayoutPass.h"
#include "uikit/UIApplication.h"
#include "uikit/UIButton.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

using nlohmann::json;
using objc::send;

namespace {

// The text a chain of getters ends in; nullopt when a link answers nil.
std::optional<std::string> chain(id object, std::initializer_list<const char*> getters) {
    for (const char* getter : getters)
        object = send<id>(object, getter);
    if (!object)
        return std::nullopt;
    EXPECT_TRUE(objc::isKindOfClass(object, NSString::staticClass())) << object->isa()->name;
    return utf8Of(object);
}

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

TEST(WhatsApp, MessagesAnswerTheirTextThroughCellDataAndMessage) {
    inChildProcess([] {
        json content = {{"messages",
                         {"Hello there",
                          nullptr,
                          {{"text", "Alex joined"}, {"textToSpeak", false}},
                          {{"textToSpeak", 42}},
                          "שלום 👋 مرحبا"}}};
        UIWindow* window = launchApp("whatsapp", content);
        auto* navigation = objc::cast<UINavigationController>(window->rootViewController());
        ASSERT_NE(navigation, nullptr);
        EXPECT_EQ(navigation->topViewController()->isa()->name, "WAChatViewController");
        EXPECT_EQ(view(window, "chat"), navigation->topViewController()->view());

        UIView* first = view(window, "message-1");
        EXPECT_EQ(first->isa()->name, "WAMessageContainerView");
        EXPECT_EQ(chain(first, {"cellData", "message", "textToSpeak"}), "Hello there");
        EXPECT_EQ(chain(view(window, "message-2"), {"cellData", "message", "textToSpeak"}), std::nullopt);
        EXPECT_NE(send<id>(send<id>(view(window, "message-2"), "cellData"), "message"), nullptr);
        EXPECT_EQ(chain(view(window, "message-5"), {"cellData", "message", "textToSpeak"}), "שלום 👋 مرحبا");

        id notice = send<id>(send<id>(view(window, "message-3"), "cellData"), "message");
        EXPECT_FALSE(send<bool>(notice, "respondsToSelector:", sel_registerName("textToSpeak")));
        EXPECT_THROW(send<id>(notice, "textToSpeak"), objc::Exception);
        EXPECT_THROW(NSObject::valueForKey(notice, "textToSpeak"), objc::Exception);

        id number =
            send<id>(send<id>(send<id>(view(window, "message-4"), "cellData"), "message"), "textToSpeak");
        ASSERT_TRUE(objc::isKindOfClass(number, NSNumber::staticClass()));
        EXPECT_EQ(static_cast<NSNumber*>(number)->longLongValue(), 42);
        EXPECT_EQ(findView(window, "message-6"), nullptr);
    });
}

TEST(WhatsApp, ChatIsBuiltByTheHostsViewDidLoadAndLaidOutByItsLayoutSubviews) {
    inChildProcess([] {
        UIWindow* window =
            launchApp("whatsapp", {{"messages", {"Hi", "A longer answer that wraps onto lines"}}}, [] {
                countCalls("WAChatViewController", "viewDidLoad");
                countCalls("WAMessageContainerView", "layoutSubviews");
            });
        UIView* incoming = view(window, "message-1");
        UIView* outgoing = view(window, "message-2");
        EXPECT_EQ(countedReceivers("viewDidLoad").size(), 1u);
        EXPECT_EQ(callsOn("layoutSubviews", incoming), 1u) << "the first layout pass";
        EXPECT_EQ(callsOn("layoutSubviews", outgoing), 1u);
        layoutEverything(window);
        EXPECT_EQ(callsOn("layoutSubviews", incoming), 2u);

        // Bubbles down the screen, incoming on the left and outgoing on the right, each
        // showing its text.
        CGRect a = incoming->frameInWindow(), b = outgoing->frameInWindow();
        EXPECT_LT(a.maxY(), b.minY());
        EXPECT_LT(a.minX(), 390 - b.maxX() + 1);
        EXPECT_NEAR(b.maxX(), 390 - 12, 1);
        EXPECT_GT(b.size.height, a.size.height) << "a longer text makes a taller bubble";
        EXPECT_GT(incoming->layer()->cornerRadius, 0);
        ASSERT_FALSE(outgoing->subviews().empty());
        auto* label = objc::dynCast<UILabel>(outgoing->subviews().front().get());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(utf8Of(label->text()), "A longer answer that wraps onto lines");
        EXPECT_GT(label->frame().size.width, 0);
    });
}

TEST(YouTube, CommentLabelsAnswerTheirAttributedTextAndAreRestyledOnEveryLayout) {
    inChildProcess([] {
        UIWindow* window = launchApp("youtube", {{"comments", {"First! 🎉", nullptr}}},
                                     [] { countCalls("YTFormattedStringLabel", "applyTypeStyle"); });
        EXPECT_EQ(window->rootViewController()->isa()->name, "YTWatchViewController");
        UIView* panel = view(window, "engagement-panel");
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->viewController()->isa()->name, "YTEngagementPanelViewController");
        EXPECT_EQ(panel->viewController()->parentViewController(), window->rootViewController());
        EXPECT_TRUE(panel->isDescendantOf(view(window, "watch")));

        UIView* first = view(window, "comment-1");
        UIView* second = view(window, "comment-2");
        EXPECT_EQ(first->isa()->name, "YTFormattedStringLabel");
        EXPECT_TRUE(objc::isKindOfClass(first, UILabel::staticClass()));
        EXPECT_TRUE(first->isUserInteractionEnabled());
        EXPECT_TRUE(first->isDescendantOf(panel));
        EXPECT_EQ(chain(first, {"attributedText", "string"}), "First! 🎉");
        EXPECT_EQ(send<id>(second, "attributedText"), nullptr);

        // Styled once when configured and once in the first layout pass, then again on
        // every layout; the host's own style still applies.
        EXPECT_EQ(callsOn("applyTypeStyle", first), 2u);
        layoutEverything(window);
        EXPECT_EQ(callsOn("applyTypeStyle", first), 3u);
        EXPECT_EQ(callsOn("applyTypeStyle", second), 3u);
        EXPECT_EQ(objc::cast<UILabel>(first)->font()->pointSize(), 14);
    });
}

TEST(YouTube, CloseButtonSendsDidTapCloseButtonToThePanelWhichHidesItself) {
    inChildProcess([] {
        UIWindow* window = launchApp("youtube", {{"comments", {"a"}}}, [] {
            countCalls("YTEngagementPanelViewController", "didTapCloseButton");
        });
        UIView* panel = view(window, "engagement-panel");
        auto* close = objc::dynCast<UIButton>(view(window, "engagement-panel-close"));
        ASSERT_NE(close, nullptr);
        EXPECT_TRUE(close->isDescendantOf(panel));
        EXPECT_FALSE(panel->isHidden());
        close->sendActionsForControlEvents(UIControlEventTouchUpInside);
        ASSERT_EQ(countedReceivers("didTapCloseButton").size(), 1u);
        EXPECT_EQ(countedReceivers("didTapCloseButton").front(), panel->viewController());
        EXPECT_TRUE(panel->isHidden());
    });
}

TEST(Twitter, EntriesAnswerTheirTextThroughTheTiledLayerState) {
    inChildProcess([] {
        json content = {{"messages", {"hey 👋", nullptr, "gone", "last"}}, {"emptyEntries", {3, 9}}};
        UIWindow* window = launchApp("twitter", content, [] {
            countCalls("T1DirectMessageConversationEntriesViewController", "viewDidLoad");
            countCalls("TFNSpacerView", "layoutSubviews");
        });
        auto* navigation = objc::cast<UINavigationController>(window->rootViewController());
        EXPECT_EQ(navigation->topViewController()->isa()->name,
                  "T1DirectMessageConversationEntriesViewController");
        EXPECT_EQ(view(window, "conversation"), navigation->topViewController()->view());
        EXPECT_EQ(countedReceivers("viewDidLoad").size(), 1u);

        auto text = [&](const char* identifier) -> std::optional<std::string> {
            auto* subviews = send<NSArray*>(view(window, identifier), "subviews");
            return chain(subviews->objectAtIndex(0), {"tiledLayer", "state", "attributedString", "string"});
        };
        EXPECT_EQ(view(window, "dm-1")->isa()->name, "TFNSpacerView");
        EXPECT_EQ(text("dm-1"), "hey 👋");
        EXPECT_EQ(text("dm-2"), std::nullopt);
        EXPECT_EQ(text("dm-4"), "last");
        EXPECT_NE(send<id>(send<NSArray*>(view(window, "dm-2"), "subviews")->objectAtIndex(0), "tiledLayer"),
                  nullptr);
        EXPECT_EQ(send<NSArray*>(view(window, "dm-3"), "subviews")->count(), 0u) << "an empty entry";

        UIView* first = view(window, "dm-1");
        EXPECT_EQ(callsOn("layoutSubviews", first), 1u);
        EXPECT_EQ(callsOn("layoutSubviews", view(window, "dm-3")), 1u);
        EXPECT_EQ(first->subviews().front()->frame(), first->bounds()) << "the host's layout fills the entry";
    });
}

TEST(Instagram, CommentViewsAnswerTheirText) {
    inChildProcess([] {
        UIWindow* window = launchApp("instagram", {{"comments", {"nice 📸", nullptr}}},
                                     [] { countCalls("IGCoreTextView", "layoutSubviews"); });
        auto* tabs = objc::cast<UITabBarController>(window->rootViewController());
        ASSERT_NE(tabs, nullptr);
        auto* navigation = objc::cast<UINavigationController>(tabs->selectedViewController());
        ASSERT_NE(navigation, nullptr);
        EXPECT_EQ(navigation->topViewController()->isa()->name, "IGCommentThreadViewController");
        EXPECT_EQ(view(window, "comments"), navigation->topViewController()->view());

        UIView* first = view(window, "comment-1");
        EXPECT_EQ(first->isa()->name, "IGCoreTextView");
        EXPECT_EQ(chain(first, {"text"}), "nice 📸");
        EXPECT_EQ(chain(view(window, "comment-2"), {"text"}), std::nullopt);
        EXPECT_EQ(callsOn("layoutSubviews", first), 1u);
        layoutEverything(window);
        EXPECT_EQ(callsOn("layoutSubviews", first), 2u);
    });
}

TEST(Messages, BalloonsAreReadOnlyTextViewsThatAnswerTheirText) {
    inChildProcess([] {
        UIWindow* window = launchApp("messages", {{"messages", {"On my way", nullptr}}}, [] {
            countCalls("CKTranscriptCollectionViewController", "viewDidLoad");
            countCalls("CKBalloonTextView", "layoutSubviews");
        });
        auto* navigation = objc::cast<UINavigationController>(window->rootViewController());
        EXPECT_EQ(navigation->topViewController()->isa()->name, "CKTranscriptCollectionViewController");
        EXPECT_EQ(view(window, "transcript"), navigation->topViewController()->view());
        EXPECT_EQ(countedReceivers("viewDidLoad").size(), 1u);

        UIView* first = view(window, "balloon-1");
        EXPECT_EQ(first->isa()->name, "CKBalloonTextView");
        ASSERT_TRUE(objc::isKindOfClass(first, UITextView::staticClass()));
        EXPECT_FALSE(send<bool>(first, "isEditable"));
        EXPECT_EQ(chain(first, {"text"}), "On my way");
        EXPECT_EQ(chain(view(window, "balloon-2"), {"text"}), std::nullopt);
        EXPECT_EQ(callsOn("layoutSubviews", first), 1u);
        EXPECT_EQ(first->layer()->cornerRadius, 18);
    });
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
        EXPECT_FALSE(sheet->presentedAnimated());
        UIViewController* top = sheet->presentedViewController();
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->isa(), UIViewController::staticClass());
        EXPECT_EQ(top->presentationSource(), sheet);
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
