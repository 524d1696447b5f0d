#pragma once

#include "objc/Object.h"

// WhatsApp: the message view WAMessageContainerView and the chat screen
// WAChatViewController.
namespace lexorna::whatsapp {

// The host's own implementations, kept when the group is installed.
extern IMP previousMessageLayoutSubviews; // -[WAMessageContainerView layoutSubviews]
extern IMP previousChatViewDidLoad;       // -[WAChatViewController viewDidLoad]

// -[WAMessageContainerView layoutSubviews]: the trigger hook.
void messageLayoutSubviews(id self, SEL _cmd);
// -[WAMessageContainerView WAWordCopyCustom]: the panel action.
void WAWordCopyCustom(id self, SEL _cmd);
// -[WAMessageContainerView WAWordCopy]: the inline action.
void WAWordCopy(id self, SEL _cmd);
// -[WAChatViewController viewDidLoad]: the dismiss hook.
void chatViewDidLoad(id self, SEL _cmd);
// -[WAChatViewController Dismiss]: takes the inline overlay away.
void Dismiss(id self, SEL _cmd);

} // namespace lexorna::whatsapp
