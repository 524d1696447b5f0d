#include "YouTube.h"

#include "activation/PreviousImplementation.h"

namespace lexorna::youtube {

IMP previousLabelApplyTypeStyle = nullptr;
IMP previousPanelDidTapCloseButton = nullptr;

void labelApplyTypeStyle(id self, SEL _cmd) {
    callPrevious(previousLabelApplyTypeStyle, self, _cmd);
}

void YTWordCopyCustom(id, SEL) {}

void YTWordCopy(id, SEL) {}

void panelDidTapCloseButton(id self, SEL _cmd) {
    callPrevious(previousPanelDidTapCloseButton, self, _cmd);
}

} // namespace lexorna::youtube
