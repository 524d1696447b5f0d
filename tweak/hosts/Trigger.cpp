#include "Trigger.h"

#include "activation/Settings.h"

#include "objc/Message.h"

using objc::send;

namespace {

void attachTap(id view, unsigned long taps, id target, SEL action) {
    send<id>(objc_getClass("VDManager"),
             "InitTapGestureRecognizerInView:NumberOfTapsRequired:NumberOfTouchesRequired:Target:Actions:",
             view, taps, 1UL, target, action);
}

void attachPress(id view, float seconds, id target, SEL action) {
    send<id>(objc_getClass("VDManager"),
             "InitLongPressGestureRecognizerInView:PressDuration:NumberOfTouchesRequired:Target:Actions:",
             view, seconds, 1UL, target, action);
}

} // namespace

void attachTrigger(id view, const Trigger& trigger) {
    SEL action =
        sel_registerName(readSetting(trigger.customViewKey) ? trigger.panelAction : trigger.inlineAction);
    if (trigger.taps)
        attachTap(view, trigger.taps, view, action);
    else
        attachPress(view, trigger.pressDuration, view, action);
}

void attachDismissal(id controller) {
    attachTap(send<id>(controller, "view"), 2, controller, sel_registerName("Dismiss"));
}

bool isBegan(id recognizer) {
    return send<long>(recognizer, "state") == 1;
}
