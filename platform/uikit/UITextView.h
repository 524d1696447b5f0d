#pragma once

#include "UIGestureRecognizer.h"
#include "UILabel.h"
#include "UIScrollView.h"

#include "foundation/NSRange.h"

#include <string>
#include <string_view>
#include <vector>

// A text that the user can select, copy and (when editable) change. Ranges count UTF-16
// code units, as UIKit's do; a selection never splits a character: its ends widen to the
// boundaries of the characters they fall in. Editing changes only the view's own text.
class UITextView : public UIScrollView {
    OBJC_NATIVE_CLASS(UITextView);

    static UITextView* make(CGRect frame);

    // Never nil: a text view without text has the empty string.
    NSString* text() const { return text_.get(); }
    // Replaces the text and puts the caret at its end.
    void setText(id text);
    UIFont* font() const { return font_.get(); }
    void setFont(UIFont* font); // nil: the 12-point system font
    UIColor* textColor() const { return textColor_.get(); }
    void setTextColor(UIColor* color) { textColor_ = color; } // nil: drawn in black
    long textAlignment() const { return textAlignment_; }
    void setTextAlignment(long alignment) { textAlignment_ = alignment; }
    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }

    NSRange selectedRange() const { return selectedRange_; }
    // Clamped to the text and widened to whole characters.
    void setSelectedRange(NSRange range);
    std::string selectedText() const;

    // The text menu's Copy: the selection goes to the general pasteboard; with nothing
    // selected the pasteboard keeps what it had.
    void copySelection();
    // Typing: the text replaces the selection and the caret follows it.
    void insertText(std::string_view utf8);

    // The text view's own recognisers, asked while it is editable: a tap places the
    // caret (once the double tap has failed), a double tap selects the word under the
    // finger, a long press starts a selection there. They are kept apart from
    // gestureRecognizers(), as UIKit keeps them inside its text interaction.
    const std::vector<objc::Ref<UIGestureRecognizer>>& textInteractionRecognizers();

    // The character under a point of the view. There is no glyph layout here: the text is
    // taken as spread evenly across the view's width, so the centre finds the middle.
    unsigned long characterIndexAtPoint(CGPoint point) const;
    // The word around a character (letters and digits; any non-ASCII character counts as
    // a letter); at a space or mark, the word that ends there; empty when there is none.
    NSRange wordRangeAtIndex(unsigned long index) const;

private:
    objc::Ref<NSString> text_;
    objc::Ref<UIFont> font_;
    objc::Ref<UIColor> textColor_;
    long textAlignment_ = NSTextAlignmentLeft;
    NSRange selectedRange_;
    bool editable_ = true;
    bool selectable_ = true;
    std::vector<objc::Ref<UIGestureRecognizer>> textInteraction_; // made on first use
};
