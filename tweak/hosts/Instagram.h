#pragma once

#include "activation/HookTable.h"

// Instagram: a long press of 0.4 seconds on a comment (IGCoreTextView). No controller is
// hooked: the overlay carries its own "X" button, which takes it away.
namespace lexorna::instagram {

HookList hookEntries();

} // namespace lexorna::instagram
