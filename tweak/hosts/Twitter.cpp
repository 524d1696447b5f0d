#include "Twitter.h"

#include "activation/PreviousImplementation.h"

namespace lexorna::twitter {

IMP previousMessageLayoutSubviews = nullptr;
IMP previousConversationViewDidLoad = nullptr;

void messageLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousMessageLayoutSubviews, self, _cmd);
}

void TWCopyDMCustom(id, SEL) {}

void TWCopyDM(id, SEL) {}

void conversationViewDidLoad(id self, SEL _cmd) {
    callPrevious(previousConversationViewDidLoad, self, _cmd);
}

void Dismiss(id, SEL) {}

} // namespace lexorna::twitter
