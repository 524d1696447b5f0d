#pragma once

#include "objc/Object.h"

// YouTube: the comment label YTFormattedStringLabel and the engagement panel
// YTEngagementPanelViewController that shows the comments.
namespace lexorna::youtube {

// The host's own implementations, kept when the group is installed.
extern IMP previousLabelApplyTypeStyle;    // -[YTFormattedStringLabel applyTypeStyle]
extern IMP previousPanelDidTapCloseButton; // -[YTEngagementPanelViewController didTapCloseButton]

// -[YTFormattedStringLabel applyTypeStyle]: the trigger hook.
void labelApplyTypeStyle(id self, SEL _cmd);
// -[YTFormattedStringLabel YTWordCopyCustom]: the panel action.
void YTWordCopyCustom(id self, SEL _cmd);
// -[YTFormattedStringLabel YTWordCopy]: the inline action.
void YTWordCopy(id self, SEL _cmd);
// -[YTEngagementPanelViewController didTapCloseButton]: takes the inline overlay away
// when the host's panel closes.
void panelDidTapCloseButton(id self, SEL _cmd);

} // namespace lexorna::youtube
