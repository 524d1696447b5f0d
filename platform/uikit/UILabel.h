#pragma once

#include "UIView.h"

#include "foundation/NSAttributedString.h"
#include "foundation/NSString.h"

// NSTextAlignment.
enum NSTextAlignment : long {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
};

// A read-only text. Like UIKit's, it ignores touches unless told otherwise, and nil for
// its font or colour means the default (the 17-point system font, black).
class UILabel : public UIView {
    OBJC_NATIVE_CLASS(UILabel);

    static UILabel* make(CGRect frame);

    NSString* text() const { return text_.get(); }
    void setText(id text);
    // The text with attributes: only the characters are modelled, so this is the text as
    // an attributed string (nil without text), and setting it sets the text.
    NSAttributedString* attributedText() const;
    void setAttributedText(NSAttributedString* text);
    UIFont* font() const { return font_.get(); }
    void setFont(UIFont* font);
    UIColor* textColor() const { return textColor_.get(); }
    void setTextColor(UIColor* color);
    long textAlignment() const { return textAlignment_; }
    void setTextAlignment(long alignment) { textAlignment_ = alignment; }
    long numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(long lines) { numberOfLines_ = lines; }

private:
    objc::Ref<NSString> text_; // a copy: a mutable string changed later does not reach the label
    objc::Ref<UIFont> font_;
    objc::Ref<UIColor> textColor_;
    long textAlignment_ = NSTextAlignmentLeft;
    long numberOfLines_ = 1;
};
