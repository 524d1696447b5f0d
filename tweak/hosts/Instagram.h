#pragma once

#include "objc/Object.h"

// Instagram: the comment text view IGCoreTextView. Instagram has no controller entry;
// the inline overlay carries its own close button.
namespace lexorna::instagram {

// The host's own implementation, kept when the group is installed.
extern IMP previousCommentLayoutSubviews; // -[IGCoreTextView layoutSubviews]

// -[IGCoreTextView layoutSubviews]: the trigger hook.
void commentLayoutSubviews(id self, SEL _cmd);
// -[IGCoreTextView IGCopyCommentCustom:]: the panel action; the argument is the
// long-press recogniser that calls it.
void IGCopyCommentCustom(id self, SEL _cmd, id recognizer);
// -[IGCoreTextView IGCopyComment:]: the inline action, with the same argument.
void IGCopyComment(id self, SEL _cmd, id recognizer);
// -[IGCoreTextView Close]: the action of the inline overlay's close button.
void Close(id self, SEL _cmd);

} // namespace lexorna::instagram
