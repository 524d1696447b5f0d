#pragma once

#include "objc/Object.h"

// Messages: the message balloon CKBalloonTextView and the transcript screen
// CKTranscriptCollectionViewController.
namespace lexorna::messages {

// The host's own implementations, kept when the group is installed.
extern IMP previousBalloonLayoutSubviews; // -[CKBalloonTextView layoutSubviews]
extern IMP previousTranscriptViewDidLoad; // -[CKTranscriptCollectionViewController viewDidLoad]

// -[CKBalloonTextView layoutSubviews]: the trigger hook.
void balloonLayoutSubviews(id self, SEL _cmd);
// -[CKBalloonTextView CopyMobileSMSCustom]: the panel action.
void CopyMobileSMSCustom(id self, SEL _cmd);
// -[CKBalloonTextView CopyMobileSMS]: the inline action.
void CopyMobileSMS(id self, SEL _cmd);
// -[CKTranscriptCollectionViewController viewDidLoad]: the dismiss hook.
void transcriptViewDidLoad(id self, SEL _cmd);
// -[CKTranscriptCollectionViewController Dismiss]: takes the inline overlay away.
void Dismiss(id self, SEL _cmd);

} // namespace lexorna::messages
