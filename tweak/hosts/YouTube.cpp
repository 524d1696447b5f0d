#include "YouTube.h"
#include "HostText.h"
#include "InlineOverlay.h"
#include "OverlayGlobals.h"
#include "Trigger.h"

#include "activation/PreviousImplementation.h"
#include "panel/LexornaViewController.h"

namespace lexorna::youtube {

namespace {

IMP previousLabelApplyTypeStyle = nullptr;
IMP previousPanelDidTapCloseButton = nullptr;

constexpr Trigger LabelTrigger = tapTrigger(2, "YTCustomView", "YTWordCopyCustom", "YTWordCopy");

id labelText(id label) {
    return hostTextByChain(label, {"attributedText", "string"});
}

// -[YTFormattedStringLabel applyTypeStyle]: the trigger hook; the host styles a label
// when it configures it and again as it lays it out.
void labelApplyTypeStyle(id self, SEL _cmd) {
    callPrevious(previousLabelApplyTypeStyle, self, _cmd);
    attachTrigger(self, LabelTrigger);
}

void YTWordCopyCustom(id self, SEL) {
    presentTextPanel(labelText(self));
}

void YTWordCopy(id self, SEL) {
    if (id text = labelText(self))
        showOverlay(text, self, self, &TextView_Youtube, StandardOverlay);
}

// -[YTEngagementPanelViewController didTapCloseButton]: the host closes its panel, then
// the newest overlay goes, wherever its label is.
void panelDidTapCloseButton(id self, SEL _cmd) {
    callPrevious(previousPanelDidTapCloseButton, self, _cmd);
    dismissOverlay(TextView_Youtube);
}

} // namespace

HookList hookEntries() {
    static const HookEntry entries[] = {
        replacedEntry("YTFormattedStringLabel", "applyTypeStyle", labelApplyTypeStyle,
                      previousLabelApplyTypeStyle),
        panelEntry("YTFormattedStringLabel", "YTWordCopyCustom", YTWordCopyCustom, "v@:"),
        addedEntry("YTFormattedStringLabel", "YTWordCopy", YTWordCopy, "v@:"),
        replacedEntry("YTEngagementPanelViewController", "didTapCloseButton", panelDidTapCloseButton,
                      previousPanelDidTapCloseButton),
    };
    return entries;
}

} // namespace lexorna::youtube
