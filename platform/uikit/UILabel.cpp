#include "UILabel.h"
#include "StringCopy.h"

namespace {

// Fonts and colours are immutable, so every label can share its defaults.
UIFont* defaultFont() {
    static auto* font = new objc::Ref<UIFont>(UIFont::systemFontOfSize(17));
    return font->get();
}

UIColor* defaultTextColor() {
    static auto* color = new objc::Ref<UIColor>(UIColor::blackColor());
    return color->get();
}

UILabel* self(id object) {
    return static_cast<UILabel*>(object);
}

} // namespace

UILabel::UILabel(Class isa) : UIView(isa), font_(defaultFont()), textColor_(defaultTextColor()) {
    setUserInteractionEnabled(false);
}

UILabel* UILabel::make(CGRect frame) {
    auto* label = objc::make<UILabel>(staticClass());
    label->setFrame(frame);
    return label;
}

void UILabel::setText(id text) {
    text_ = copyString(text);
}

NSAttributedString* UILabel::attributedText() const {
    return text_ ? NSAttributedString::make(text_->utf8()) : nullptr;
}

void UILabel::setAttributedText(NSAttributedString* text) {
    text_ = text ? NSString::make(text->text()) : nullptr;
}

void UILabel::setFont(UIFont* font) {
    font_ = font ? font : defaultFont();
}

void UILabel::setTextColor(UIColor* color) {
    textColor_ = color ? color : defaultTextColor();
}

Class UILabel::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UILabel>("UILabel", UIView::staticClass());
        objc::addMethod(
            c, "text", +[](id label, SEL) -> id { return self(label)->text(); });
        objc::addMethod(
            c, "setText:", +[](id label, SEL, id text) { self(label)->setText(text); });
        objc::addMethod(
            c, "attributedText", +[](id label, SEL) -> id { return self(label)->attributedText(); });
        objc::addMethod(
            c, "setAttributedText:", +[](id label, SEL, id text) {
                self(label)->setAttributedText(objc::cast<NSAttributedString>(text));
            });
        objc::addMethod(
            c, "font", +[](id label, SEL) -> id { return self(label)->font(); });
        objc::addMethod(
            c, "setFont:", +[](id label, SEL, id font) { self(label)->setFont(objc::cast<UIFont>(font)); });
        objc::addMethod(
            c, "textColor", +[](id label, SEL) -> id { return self(label)->textColor(); });
        objc::addMethod(
            c, "setTextColor:", +[](id label, SEL, id color) {
                self(label)->setTextColor(objc::cast<UIColor>(color));
            });
        objc::addMethod(
            c, "textAlignment", +[](id label, SEL) -> long { return self(label)->textAlignment(); });
        objc::addMethod(
            c, "setTextAlignment:", +[](id label, SEL, long alignment) {
                self(label)->setTextAlignment(alignment);
            });
        objc::addMethod(
            c, "numberOfLines", +[](id label, SEL) -> long { return self(label)->numberOfLines(); });
        objc::addMethod(
            c, "setNumberOfLines:", +[](id label, SEL, long lines) { self(label)->setNumberOfLines(lines); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
