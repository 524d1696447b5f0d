#include "HookTable.h"

#include "hosts/Instagram.h"
#include "hosts/Messages.h"
#include "hosts/Twitter.h"
#include "hosts/WhatsApp.h"
#include "hosts/YouTube.h"

#include "objc/Message.h"

namespace {

using namespace lexorna;

HookEntry replaced(const char* className, const char* selector, void (*replacement)(id, SEL), IMP& previous) {
    return {className, selector, HookEntry::Kind::Replaced, objc::imp(replacement), &previous, nullptr};
}

// The type encoding is written out, as it is handed to class_addMethod; the signature
// of the implementation has to agree with it.
template <class... Args>
HookEntry added(const char* className, const char* selector, void (*method)(id, SEL, Args...),
                const char* types) {
    return {className, selector, HookEntry::Kind::Added, objc::imp(method), nullptr, types};
}

} // namespace

std::span<const HostGroup> hostGroups() {
    // Built on first use: the constructor that installs them may run before the
    // library's other static initialisers.
    static const HookEntry whatsApp[] = {
        replaced("WAMessageContainerView", "layoutSubviews", whatsapp::messageLayoutSubviews,
                 whatsapp::previousMessageLayoutSubviews),
        added("WAMessageContainerView", "WAWordCopyCustom", whatsapp::WAWordCopyCustom, "v@:"),
        added("WAMessageContainerView", "WAWordCopy", whatsapp::WAWordCopy, "v@:"),
        replaced("WAChatViewController", "viewDidLoad", whatsapp::chatViewDidLoad,
                 whatsapp::previousChatViewDidLoad),
        added("WAChatViewController", "Dismiss", whatsapp::Dismiss, "v@:"),
    };
    static const HookEntry youTube[] = {
        replaced("YTFormattedStringLabel", "applyTypeStyle", youtube::labelApplyTypeStyle,
                 youtube::previousLabelApplyTypeStyle),
        added("YTFormattedStringLabel", "YTWordCopyCustom", youtube::YTWordCopyCustom, "v@:"),
        added("YTFormattedStringLabel", "YTWordCopy", youtube::YTWordCopy, "v@:"),
        replaced("YTEngagementPanelViewController", "didTapCloseButton", youtube::panelDidTapCloseButton,
                 youtube::previousPanelDidTapCloseButton),
    };
    static const HookEntry twitter[] = {
        replaced("TFNSpacerView", "layoutSubviews", twitter::messageLayoutSubviews,
                 twitter::previousMessageLayoutSubviews),
        added("TFNSpacerView", "TWCopyDMCustom", twitter::TWCopyDMCustom, "v@:"),
        added("TFNSpacerView", "TWCopyDM", twitter::TWCopyDM, "v@:"),
        replaced("T1DirectMessageConversationEntriesViewController", "viewDidLoad",
                 twitter::conversationViewDidLoad, twitter::previousConversationViewDidLoad),
        added("T1DirectMessageConversationEntriesViewController", "Dismiss", twitter::Dismiss, "v@:"),
    };
    static const HookEntry instagram[] = {
        replaced("IGCoreTextView", "layoutSubviews", instagram::commentLayoutSubviews,
                 instagram::previousCommentLayoutSubviews),
        added("IGCoreTextView", "IGCopyCommentCustom:", instagram::IGCopyCommentCustom, "v@:@"),
        added("IGCoreTextView", "IGCopyComment:", instagram::IGCopyComment, "v@:@"),
        added("IGCoreTextView", "Close", instagram::Close, "v@:"),
    };
    static const HookEntry messages[] = {
        replaced("CKBalloonTextView", "layoutSubviews", messages::balloonLayoutSubviews,
                 messages::previousBalloonLayoutSubviews),
        added("CKBalloonTextView", "CopyMobileSMSCustom", messages::CopyMobileSMSCustom, "v@:"),
        added("CKBalloonTextView", "CopyMobileSMS", messages::CopyMobileSMS, "v@:"),
        replaced("CKTranscriptCollectionViewController", "viewDidLoad", messages::transcriptViewDidLoad,
                 messages::previousTranscriptViewDidLoad),
        added("CKTranscriptCollectionViewController", "Dismiss", messages::Dismiss, "v@:"),
    };
    static const HostGroup groups[] = {
        {"WhatsApp", whatsApp},   {"Youtube", youTube},   {"Twitter", twitter},
        {"Instagram", instagram}, {"Messages", messages},
    };
    return groups;
}
