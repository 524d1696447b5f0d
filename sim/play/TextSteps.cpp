#include "sim/play/TextSteps.h"
#include "sim/play/Selectors.h"

#include "foundation/NSString.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

namespace sim {

StepResult TextSteps::play(const Step& step, UIWindow* window) {
    switch (step.kind) {
    case StepKind::SelectText:
        return selectText(step, std::get<TextSelection>(step.argument), window);
    case StepKind::Copy:
        return copy(step, window);
    default:
        return inputText(step, window);
    }
}

StepResult TextSteps::selectText(const Step& step, const TextSelection& selection, UIWindow* window) {
    std::string name(step.name());
    auto view = findShownView(window, selection.in);
    if (!view)
        return StepResult::failed(name, view.error());
    auto* textView = objc::dynCast<UITextView>(*view);
    if (!textView)
        return StepResult::failed(name, selection.in.description() + " is a " + object_getClassName(*view) +
                                            ", not a text view");
    if (!textView->isSelectable())
        return StepResult::failed(name, selection.in.description() + " is not selectable");
    // A user cannot select past the end; a flow that asks to is mistaken about the text.
    unsigned long length = textView->text()->length();
    if (selection.from > length || selection.length > length - selection.from)
        return StepResult::failed(name, "characters " + std::to_string(selection.from) + " to " +
                                            std::to_string(selection.from + selection.length) +
                                            " lie beyond the text, which has " + std::to_string(length) +
                                            " (UTF-16 units)");
    objc::send<bool>(textView, "becomeFirstResponder");
    objc::send(textView, "setSelectedRange:", NSMakeRange(selection.from, selection.length));
    return StepResult::passed(name);
}

support::Expected<UITextView*, std::string> TextSteps::selectedTextView(UIWindow* window) const {
    auto* textView = objc::dynCast<UITextView>(window->firstResponder());
    if (!textView)
        return support::Unexpected(
            std::string("no text view was selected in (selectText, or a tap in a text view, comes first)"));
    if (!isShown(textView, window))
        return support::Unexpected(
            std::string("the text view that held the selection is no longer on screen"));
    return textView;
}

StepResult TextSteps::copy(const Step& step, UIWindow* window) {
    std::string name(step.name());
    auto textView = selectedTextView(window);
    if (!textView)
        return StepResult::failed(name, textView.error());
    // The text menu offers Copy only over a selection.
    if ((*textView)->selectedRange().length == 0)
        return StepResult::failed(name, "nothing is selected");
    objc::send(*textView, "copy:", static_cast<id>(nullptr));
    return StepResult::passed(name);
}

StepResult TextSteps::inputText(const Step& step, UIWindow* window) {
    std::string name(step.name());
    auto textView = selectedTextView(window);
    if (!textView)
        return StepResult::failed(name, textView.error());
    if (!(*textView)->isEditable())
        return StepResult::failed(name, "the selected text view is not editable");
    objc::send(*textView, "insertText:", NSString::make(step.text()));
    return StepResult::passed(name);
}

} // namespace sim
