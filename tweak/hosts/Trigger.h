#pragma once

#include "Runtime.h"

// A host's trigger: the one-finger gesture that shows a message's text, and the two
// actions it may call. The host's custom-view setting chooses between them each time a
// recogniser is attached.
struct Trigger {
    unsigned long taps;        // a tap recogniser of this many taps; 0 for a long press
    float pressDuration;       // the long press's seconds, as the float the factory takes
    const char* customViewKey; // true: the panel action, false or absent: the inline one
    const char* panelAction;
    const char* inlineAction;
};

constexpr Trigger tapTrigger(unsigned long taps, const char* key, const char* panel,
                             const char* inlineAction) {
    return {taps, 0.0f, key, panel, inlineAction};
}

constexpr Trigger pressTrigger(float seconds, const char* key, const char* panel, const char* inlineAction) {
    return {0, seconds, key, panel, inlineAction};
}

// Reads the setting anew and attaches one more recogniser to the view, with the view as
// its target; an object that takes no recognisers (a host class that changed) is left
// alone. Nothing is kept: the recognisers attached before keep their actions, so a
// change of the setting applies from the next attachment on.
void attachTrigger(id view, const Trigger& trigger);

// Attaches the double tap (one finger) on a chat controller's view that calls the
// controller's Dismiss; nothing when the controller has no view that takes one.
void attachDismissal(id controller);

// Whether a recogniser is in the state Began: a long press acts once, as it begins.
bool isBegan(id recognizer);
