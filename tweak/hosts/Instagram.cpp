#include "Instagram.h"

#include "activation/PreviousImplementation.h"

namespace lexorna::instagram {

IMP previousCommentLayoutSubviews = nullptr;

void commentLayoutSubviews(id self, SEL _cmd) {
    callPrevious(previousCommentLayoutSubviews, self, _cmd);
}

void IGCopyCommentCustom(id, SEL, id) {}

void IGCopyComment(id, SEL, id) {}

void Close(id, SEL) {}

} // namespace lexorna::instagram
