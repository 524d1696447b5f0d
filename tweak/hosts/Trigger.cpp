#include "Trigger.h"

#include "activation/Settings.h"
#include "panel/LexornaViewController.h"
#include "ui/VDManager.h"

#include "Runtime.h"

using objc::send;

namespace {

// A host update may turn a class into something else: a recogniser goes only where it
// can be added, since an unrecognised selector would end the host app.
bool takesRecognizers(id view) {
    return send<bool>(view, "respondsToSelector:", sel_registerName("addGestureRecognizer:"));
}

void attachTap(id view, unsigned long taps, id target, SEL action) {
    send<id>(VDManagerClass(),
             "InitTapGestureRecognizerInView:NumberOfTapsRequired:NumberOfTouchesRequired:Target:Actions:",
             view, taps, 1UL, target, action);
}

void attachPress(id view, float seconds, id target, SEL action) {
    send<id>(VDManagerClass(),
             "InitLongPressGestureRecognizerInView:PressDuration:NumberOfTouchesRequired:Target:Actions:",
             view, seconds, 1UL, target, action);
}

} // namespace

void attachTrigger(id view, const Trigger& trigger) {
    if (!takesRecognizers(view))
        return;
    bool panel = readSetting(trigger.customViewKey);
    // Without the panel's class (another library took its name) the panel action was
    // never added: the view gets no recogniser that would call it.
    if (panel && !LexornaViewControllerClass())
        return;
    SEL action = sel_registerName(panel ? trigger.panelAction : trigger.inlineAction);
    if (trigger.taps)
        attachTap(view, trigger.taps, view, action);
    else
        attachPress(view, trigger.pressDuration, view, action);
}

void attachDismissal(id controller) {
    if (!send<bool>(controller, "respondsToSelector:", sel_registerName("view")))
        return;
    id view = send<id>(controller, "view");
    if (view && takesRecognizers(view))
        attachTap(view, 2, controller, sel_registerName("Dismiss"));
}

bool isBegan(id recognizer) {
    return send<long>(recognizer, "state") == 1;
}
