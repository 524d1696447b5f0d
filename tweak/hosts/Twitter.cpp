#include "Twitter.h"
#include "HostText.h"
#include "InlineOverlay.h"
#include "OverlayGlobals.h"
#include "Trigger.h"

#include "activation/PreviousImplementation.h"
#include "panel/LexornaViewController.h"

namespace lexorna::twitter {

namespace {

IMP previousMessageLayoutSubviews = nullptr;
IMP previousConversationViewDidLoad = nullptr;

constexpr Trigger MessageTrigger = tapTrigger(1, "TWCustomView", "TWCopyDMCustom", "TWCopyDM");

// Square corners and centred text; one overlay at a time.
constexpr OverlayStyle MessageOverlay{{}, false, 15.0, 1L, 5.0, 5.0, -5.0, -5.0, true};

// The entry's first subview draws the message through its tiled layer.
id messageText(id spacer) {
    return hostTextByChain(
        spacer, {"subviews", TextLink::element(0), "tiledLayer", "state", "attributedString", "string"});
}

// -[TFNSpacerView layoutSubviews]: the trigger hook.
void messageLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousMessageLayoutSubviews, self, _cmd);
    attachTrigger(self, MessageTrigger);
}

void TWCopyDMCustom(id self, SEL) {
    presentTextPanel(messageText(self));
}

void TWCopyDM(id self, SEL) {
    if (id text = messageText(self))
        showOverlay(text, self, self, &TextView_Twitter, MessageOverlay);
}

// -[T1DirectMessageConversationEntriesViewController viewDidLoad]: the dismiss hook.
void conversationViewDidLoad(id self, SEL _cmd) {
    callPrevious(previousConversationViewDidLoad, self, _cmd);
    attachDismissal(self);
}

void Dismiss(id, SEL) {
    dismissOverlay(TextView_Twitter);
}

} // namespace

HookList hookEntries() {
    static const HookEntry entries[] = {
        replacedEntry("TFNSpacerView", "layoutSubviews", messageLayoutSubviews,
                      previousMessageLayoutSubviews),
        panelEntry("TFNSpacerView", "TWCopyDMCustom", TWCopyDMCustom, "v@:"),
        addedEntry("TFNSpacerView", "TWCopyDM", TWCopyDM, "v@:"),
        replacedEntry("T1DirectMessageConversationEntriesViewController", "viewDidLoad",
                      conversationViewDidLoad, previousConversationViewDidLoad),
        addedEntry("T1DirectMessageConversationEntriesViewController", "Dismiss", Dismiss, "v@:"),
    };
    return entries;
}

} // namespace lexorna::twitter
