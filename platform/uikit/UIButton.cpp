#include "UIButton.h"
#include "StringCopy.h"

namespace {

// UIKit's default title font for buttons of either type.
constexpr double TitleFontSize = 15;

UIButton* self(id object) {
    return static_cast<UIButton*>(object);
}

} // namespace

UIButton* UIButton::buttonWithType(long type) {
    auto* button = objc::make<UIButton>(staticClass());
    button->buttonType_ = type;
    return button;
}

void UIButton::setTitle(id title, unsigned long state) {
    if (NSString* copy = copyString(title))
        titles_[state] = copy;
    else
        titles_.erase(state);
    updateTitleLabel();
}

NSString* UIButton::titleForState(unsigned long state) const {
    for (unsigned long candidate : {state, static_cast<unsigned long>(UIControlStateNormal)})
        if (auto it = titles_.find(candidate); it != titles_.end())
            return it->second.get();
    return nullptr;
}

void UIButton::setTitleColor(UIColor* color, unsigned long state) {
    if (color)
        titleColors_[state] = color;
    else
        titleColors_.erase(state);
    updateTitleLabel();
}

UIColor* UIButton::titleColorForState(unsigned long state) const {
    for (unsigned long candidate : {state, static_cast<unsigned long>(UIControlStateNormal)})
        if (auto it = titleColors_.find(candidate); it != titleColors_.end())
            return it->second.get();
    static auto* white = new objc::Ref<UIColor>(UIColor::whiteColor());
    static auto* systemBlue = new objc::Ref<UIColor>(UIColor::colorWithRed(0, 122.0 / 255, 1, 1));
    return buttonType_ == UIButtonTypeSystem ? systemBlue->get() : white->get();
}

UILabel* UIButton::titleLabel() {
    if (!titleLabel_) {
        titleLabel_ = UILabel::make(bounds());
        titleLabel_->setFont(UIFont::systemFontOfSize(TitleFontSize));
        titleLabel_->setTextAlignment(NSTextAlignmentCenter);
        addSubview(titleLabel_.get());
        updateTitleLabel();
    }
    return titleLabel_.get();
}

void UIButton::updateTitleLabel() {
    if (!titleLabel_) {
        // The label appears with the first title.
        if (titles_.empty())
            return;
        titleLabel();
        return;
    }
    titleLabel_->setText(currentTitle());
    titleLabel_->setTextColor(currentTitleColor());
}

void UIButton::layoutTitleLabel() {
    if (titleLabel_)
        titleLabel_->setFrame(bounds());
}

Class UIButton::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIButton>("UIButton", UIControl::staticClass());
        objc::addClassMethod(
            c, "buttonWithType:", +[](id, SEL, long type) -> id { return UIButton::buttonWithType(type); });
        objc::addMethod(
            c, "buttonType", +[](id button, SEL) -> long { return self(button)->buttonType(); });
        objc::addMethod(
            c, "setTitle:forState:", +[](id button, SEL, id title, unsigned long state) {
                self(button)->setTitle(title, state);
            });
        objc::addMethod(
            c, "titleForState:", +[](id button, SEL, unsigned long state) -> id {
                return self(button)->titleForState(state);
            });
        objc::addMethod(
            c, "currentTitle", +[](id button, SEL) -> id { return self(button)->currentTitle(); });
        objc::addMethod(
            c, "setTitleColor:forState:", +[](id button, SEL, id color, unsigned long state) {
                self(button)->setTitleColor(objc::cast<UIColor>(color), state);
            });
        objc::addMethod(
            c, "titleColorForState:", +[](id button, SEL, unsigned long state) -> id {
                return self(button)->titleColorForState(state);
            });
        objc::addMethod(
            c, "currentTitleColor", +[](id button, SEL) -> id { return self(button)->currentTitleColor(); });
        objc::addMethod(
            c, "titleLabel", +[](id button, SEL) -> id { return self(button)->titleLabel(); });
        objc::addMethod(
            c, "layoutSubviews", +[](id button, SEL) {
                objc::sendSuper(button, UIButton::staticClass(), "layoutSubviews");
                self(button)->layoutTitleLabel();
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
