#pragma once

#include "objc/Object.h"

// Twitter: the direct message view TFNSpacerView and the conversation screen
// T1DirectMessageConversationEntriesViewController.
namespace lexorna::twitter {

// The host's own implementations, kept when the group is installed.
extern IMP previousMessageLayoutSubviews;   // -[TFNSpacerView layoutSubviews]
extern IMP previousConversationViewDidLoad; // -[T1DirectMessageConversationEntriesViewController viewDidLoad]

// -[TFNSpacerView layoutSubviews]: the trigger hook.
void messageLayoutSubviews(id self, SEL _cmd);
// -[TFNSpacerView TWCopyDMCustom]: the panel action.
void TWCopyDMCustom(id self, SEL _cmd);
// -[TFNSpacerView TWCopyDM]: the inline action.
void TWCopyDM(id self, SEL _cmd);
// -[T1DirectMessageConversationEntriesViewController viewDidLoad]: the dismiss hook.
void conversationViewDidLoad(id self, SEL _cmd);
// -[T1DirectMessageConversationEntriesViewController Dismiss]: takes the inline overlay
// away.
void Dismiss(id self, SEL _cmd);

} // namespace lexorna::twitter
