#include "WhatsApp.h"

#include "activation/PreviousImplementation.h"

namespace lexorna::whatsapp {

IMP previousMessageLayoutSubviews = nullptr;
IMP previousChatViewDidLoad = nullptr;

void messageLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousMessageLayoutSubviews, self, _cmd);
}

void WAWordCopyCustom(id, SEL) {}

void WAWordCopy(id, SEL) {}

void chatViewDidLoad(id self, SEL _cmd) {
    callPrevious(previousChatViewDidLoad, self, _cmd);
}

void Dismiss(id, SEL) {}

} // namespace lexorna::whatsapp
