#include "WhatsApp.h"
#include "HostText.h"
#include "InlineOverlay.h"
#include "OverlayGlobals.h"

#include "activation/PreviousImplementation.h"
#include "activation/Settings.h"
#include "panel/LexornaViewController.h"

#include "objc/Message.h"

using objc::send;

namespace lexorna::whatsapp {

IMP previousMessageLayoutSubviews = nullptr;
IMP previousChatViewDidLoad = nullptr;

namespace {

id messageText(id messageView) {
    return hostTextByChain(messageView, {"cellData", "message", "textToSpeak"});
}

void attachDoubleTap(id view, id target, const char* action) {
    send<id>(objc_getClass("VDManager"),
             "InitTapGestureRecognizerInView:NumberOfTapsRequired:NumberOfTouchesRequired:Target:Actions:",
             view, 2UL, 1UL, target, sel_registerName(action));
}

} // namespace

void messageLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousMessageLayoutSubviews, self, _cmd);
    // The setting is read on every pass, so a change applies to the recognisers attached
    // from the next pass on; those attached before keep their action.
    attachDoubleTap(self, self, readSetting("WACustomView") ? "WAWordCopyCustom" : "WAWordCopy");
}

void WAWordCopyCustom(id self, SEL) {
    presentTextPanel(messageText(self));
}

void WAWordCopy(id self, SEL) {
    id text = messageText(self);
    if (!text)
        return;
    showStandardOverlay(text, self, self, &TextView);
}

void chatViewDidLoad(id self, SEL _cmd) {
    callPrevious(previousChatViewDidLoad, self, _cmd);
    attachDoubleTap(send<id>(self, "view"), self, "Dismiss");
}

void Dismiss(id, SEL) {
    dismissOverlay(TextView);
}

} // namespace lexorna::whatsapp
