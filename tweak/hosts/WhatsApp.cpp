#include "WhatsApp.h"
#include "HostText.h"
#include "InlineOverlay.h"
#include "OverlayGlobals.h"
#include "Trigger.h"

#include "activation/PreviousImplementation.h"
#include "panel/LexornaViewController.h"

namespace lexorna::whatsapp {

namespace {

IMP previousMessageLayoutSubviews = nullptr;
IMP previousChatViewDidLoad = nullptr;

constexpr Trigger MessageTrigger = tapTrigger(2, "WACustomView", "WAWordCopyCustom", "WAWordCopy");

id messageText(id messageView) {
    return hostTextByChain(messageView, {"cellData", "message", "textToSpeak"});
}

// -[WAMessageContainerView layoutSubviews]: the trigger hook.
void messageLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousMessageLayoutSubviews, self, _cmd);
    attachTrigger(self, MessageTrigger);
}

void WAWordCopyCustom(id self, SEL) {
    presentTextPanel(messageText(self));
}

void WAWordCopy(id self, SEL) {
    if (id text = messageText(self))
        showOverlay(text, self, self, &TextView, StandardOverlay);
}

// -[WAChatViewController viewDidLoad]: the dismiss hook.
void chatViewDidLoad(id self, SEL _cmd) {
    callPrevious(previousChatViewDidLoad, self, _cmd);
    attachDismissal(self);
}

void Dismiss(id, SEL) {
    dismissOverlay(TextView);
}

} // namespace

HookList hookEntries() {
    static const HookEntry entries[] = {
        replacedEntry("WAMessageContainerView", "layoutSubviews", messageLayoutSubviews,
                      previousMessageLayoutSubviews),
        panelEntry("WAMessageContainerView", "WAWordCopyCustom", WAWordCopyCustom, "v@:"),
        addedEntry("WAMessageContainerView", "WAWordCopy", WAWordCopy, "v@:"),
        replacedEntry("WAChatViewController", "viewDidLoad", chatViewDidLoad, previousChatViewDidLoad),
        addedEntry("WAChatViewController", "Dismiss", Dismiss, "v@:"),
    };
    return entries;
}

} // namespace lexorna::whatsapp
