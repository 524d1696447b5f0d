#include "Instagram.h"
#include "HostText.h"
#include "InlineOverlay.h"
#include "OverlayGlobals.h"
#include "Trigger.h"

#include "activation/PreviousImplementation.h"
#include "panel/LexornaViewController.h"
#include "ui/Colors.h"
#include "ui/Constraints.h"
#include "ui/VDManager.h"

#include "Runtime.h"

using objc::send;

namespace lexorna::instagram {

namespace {

IMP previousCommentLayoutSubviews = nullptr;

constexpr Trigger CommentTrigger =
    pressTrigger(0.4f, "INCustomView", "IGCopyCommentCustom:", "IGCopyComment:");

// Flush with the comment at the sides and 5 points beyond it at the top and bottom, in
// a smaller, centred font; one overlay at a time.
constexpr OverlayStyle CommentOverlay{10.0, false, 12.5, 1L, -5.0, 0.0, 0.0, 5.0, true};

// The overlay's "X": a near-black circle of 23.5 points at its top-left corner.
void addCloseButton(id overlay, id comment) {
    id button =
        send<id>(VDManagerClass(), "InitButtonWithName:Frame:InView:Target:Action:", objc::string("X"),
                 CGRectNull, overlay, comment, sel_registerName("Close"));
    send(button, "setClipsToBounds:", true);
    send(send<id>(button, "layer"), "setCornerRadius:", 12.0);
    send(send<id>(button, "layer"), "setBackgroundColor:", send<id>(greyColor(5), "CGColor"));
    send(button, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    activateEdgeConstraints(button, {{overlay, "topAnchor", 1.5},
                                     {overlay, "leadingAnchor", 1.5},
                                     {overlay, "leadingAnchor", 25.0},
                                     {overlay, "topAnchor", 25.0}});
}

// -[IGCoreTextView layoutSubviews]: the trigger hook.
void commentLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousCommentLayoutSubviews, self, _cmd);
    attachTrigger(self, CommentTrigger);
}

void IGCopyCommentCustom(id self, SEL, id recognizer) {
    if (isBegan(recognizer))
        presentTextPanel(hostTextProperty(self));
}

void IGCopyComment(id self, SEL, id recognizer) {
    if (!isBegan(recognizer))
        return;
    id text = hostTextProperty(self);
    if (!text)
        return;
    addCloseButton(showOverlay(text, self, self, &TextView_Instagram, CommentOverlay), self);
}

void Close(id, SEL) {
    dismissOverlay(TextView_Instagram);
}

} // namespace

HookList hookEntries() {
    static const HookEntry entries[] = {
        replacedEntry("IGCoreTextView", "layoutSubviews", commentLayoutSubviews,
                      previousCommentLayoutSubviews),
        panelEntry("IGCoreTextView", "IGCopyCommentCustom:", IGCopyCommentCustom, "v@:@"),
        addedEntry("IGCoreTextView", "IGCopyComment:", IGCopyComment, "v@:@"),
        addedEntry("IGCoreTextView", "Close", Close, "v@:"),
    };
    return entries;
}

} // namespace lexorna::instagram
