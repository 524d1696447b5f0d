#pragma once

#include "UIControl.h"
#include "UILabel.h"

#include <map>

// UIButtonType.
enum UIButtonType : long {
    UIButtonTypeCustom = 0, // no system styling: white titles unless told otherwise
    UIButtonTypeSystem = 1, // titles in the system's blue
};

// A control with a title and a title colour per state. A state without a title of its
// own shows the normal state's. The title label is made when first needed, is the
// button's subview, and always shows the current title in the current colour.
class UIButton : public UIControl {
    OBJC_NATIVE_CLASS(UIButton) : UIControl(isa) {}

    static UIButton* buttonWithType(long type);

    long buttonType() const { return buttonType_; }

    void setTitle(id title, unsigned long state);
    // The title of the state, else the normal state's; nil when neither has one.
    NSString* titleForState(unsigned long state) const;
    NSString* currentTitle() const { return titleForState(this->state()); }

    void setTitleColor(UIColor* color, unsigned long state);
    // The colour of the state, else the normal state's, else the type's default.
    UIColor* titleColorForState(unsigned long state) const;
    UIColor* currentTitleColor() const { return titleColorForState(this->state()); }

    // Nil until a title is set or the label is asked for.
    UILabel* titleLabel();

    // The title label fills the button, its text centred.
    void layoutTitleLabel();

protected:
    void stateDidChange() override { updateTitleLabel(); }

private:
    void updateTitleLabel();

    long buttonType_ = UIButtonTypeCustom;
    std::map<unsigned long, objc::Ref<NSString>> titles_;
    std::map<unsigned long, objc::Ref<UIColor>> titleColors_;
    objc::Ref<UILabel> titleLabel_; // also a subview; kept so it stays the button's
};
