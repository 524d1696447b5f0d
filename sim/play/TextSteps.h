#pragma once

#include "sim/flow/Flow.h"
#include "sim/report/Report.h"

#include "support/Expected.h"
#include "uikit/UITextView.h"

class UIWindow;

namespace sim {

// The steps on text: selectText picks characters of a text view, which then holds the
// selection that copy and inputText act on, as the text menu and the keyboard act on
// the text view the user selected in. Everything reaches the text view through the
// runtime (setSelectedRange:, copy:, insertText:), so that the app's and any injected
// library's overrides take part.
class TextSteps {
public:
    // Plays selectText, copy or inputText.
    StepResult play(const Step& step, UIWindow* window);

private:
    StepResult selectText(const Step& step, const TextSelection& selection, UIWindow* window);
    StepResult copy(const Step& step, UIWindow* window);
    StepResult inputText(const Step& step, UIWindow* window);
    // The text view holding the selection, or why there is none to act on.
    support::Expected<UITextView*, std::string> selectedTextView(UIWindow* window) const;
};

} // namespace sim
