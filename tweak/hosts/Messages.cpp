#include "Messages.h"
#include "HostText.h"
#include "InlineOverlay.h"
#include "OverlayGlobals.h"
#include "Trigger.h"

#include "activation/PreviousImplementation.h"
#include "panel/LexornaViewController.h"
#include "ui/Presentation.h"

#include "Runtime.h"

using objc::send;

namespace lexorna::messages {

namespace {

IMP previousBalloonLayoutSubviews = nullptr;
IMP previousTranscriptViewDidLoad = nullptr;

constexpr Trigger BalloonTrigger = tapTrigger(1, "MECustomView", "CopyMobileSMSCustom", "CopyMobileSMS");

// Rounder corners and centred text.
constexpr OverlayStyle BalloonOverlay{10.0, false, 15.0, 1L, 5.0, 5.0, -5.0, -5.0, false};

// -[CKBalloonTextView layoutSubviews]: the trigger hook.
void balloonLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousBalloonLayoutSubviews, self, _cmd);
    attachTrigger(self, BalloonTrigger);
}

void CopyMobileSMSCustom(id self, SEL) {
    presentTextPanel(hostTextProperty(self));
}

// The top of a view's hierarchy: its window, or the root of a tree outside any window.
id rootOf(id view) {
    while (id superview = send<id>(view, "superview"))
        view = superview;
    return view;
}

// The overlay is made for every tap, a nil text included. It lies in the top-most
// controller's view, pinned to the balloon: a controller presented over the transcript
// shares the window with it, so the constraints join the two. Where they share no
// ancestor (a full-screen presentation took the transcript out of the window) no
// constraint could join them, so nothing is made and the host runs on.
void CopyMobileSMS(id self, SEL) {
    id text = hostTextProperty(self);
    id parent = send<id>(topMostController(), "view");
    if (!parent || rootOf(self) != rootOf(parent))
        return;
    showOverlay(text, parent, self, &TextView_Messages, BalloonOverlay);
}

// -[CKTranscriptCollectionViewController viewDidLoad]: the dismiss hook.
void transcriptViewDidLoad(id self, SEL _cmd) {
    callPrevious(previousTranscriptViewDidLoad, self, _cmd);
    attachDismissal(self);
}

void Dismiss(id, SEL) {
    dismissOverlay(TextView_Messages);
}

} // namespace

HookList hookEntries() {
    static const HookEntry entries[] = {
        replacedEntry("CKBalloonTextView", "layoutSubviews", balloonLayoutSubviews,
                      previousBalloonLayoutSubviews),
        panelEntry("CKBalloonTextView", "CopyMobileSMSCustom", CopyMobileSMSCustom, "v@:"),
        addedEntry("CKBalloonTextView", "CopyMobileSMS", CopyMobileSMS, "v@:"),
        replacedEntry("CKTranscriptCollectionViewController", "viewDidLoad", transcriptViewDidLoad,
                      previousTranscriptViewDidLoad),
        addedEntry("CKTranscriptCollectionViewController", "Dismiss", Dismiss, "v@:"),
    };
    return entries;
}

} // namespace lexorna::messages
