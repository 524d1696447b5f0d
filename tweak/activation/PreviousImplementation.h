#pragma once

#include "Runtime.h"

// Runs the host's own implementation kept in a previous-implementation slot, with the
// receiver and selector that the replacement was called with. A replacement runs only
// once its entry is installed, and installing fills the slot.
inline void callPrevious(IMP previous, id self, SEL cmd) {
    reinterpret_cast<void (*)(id, SEL)>(previous)(self, cmd);
}
