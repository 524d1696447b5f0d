#pragma once

#include "activation/HookTable.h"

// YouTube: a double tap on a comment label (YTFormattedStringLabel); the host's own close
// button of its engagement panel (YTEngagementPanelViewController) takes the overlay away.
namespace lexorna::youtube {

HookList hookEntries();

} // namespace lexorna::youtube
