#include "Label.h"

#include "uikit/UILabel.h"

namespace apps {

UILabel* makeLabel(std::string_view text, CGRect frame, double fontSize, UIColor* color,
                   NSTextAlignment alignment) {
    UILabel* label = UILabel::make(frame);
    label->setText(NSString::make(text));
    label->setFont(UIFont::systemFontOfSize(fontSize));
    label->setTextColor(color);
    label->setTextAlignment(alignment);
    label->setNumberOfLines(0);
    return label;
}

} // namespace apps
