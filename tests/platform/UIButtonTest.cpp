// Buttons: titles and colours per state with the normal state as fallback, and the title
// label. Which events send a control's actions is touch delivery's to check.

#include "uikit/UIButton.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

UIButton* button(long type) {
    return send<UIButton*>(UIButton::staticClass(), "buttonWithType:", type);
}

std::string titleFor(UIButton* button, unsigned long state) {
    return describe(send<id>(button, "titleForState:", state));
}

std::array<double, 4> colorFor(UIButton* button, unsigned long state) {
    return send<UIColor*>(button, "titleColorForState:", state)->components();
}

} // namespace

TEST(UIButton, StatesWithoutATitleOrColourOfTheirOwnShowTheNormalOnes) {
    objc::AutoreleasePool pool;
    EXPECT_EQ(colorFor(button(0), 0), (std::array<double, 4>{1, 1, 1, 1})) << "a custom button's default";
    EXPECT_EQ(colorFor(button(1), 0), (std::array<double, 4>{0, 122.0 / 255, 1, 1})) << "a system button's";

    UIButton* done = button(0);
    EXPECT_EQ(send<id>(done, "titleForState:", 0UL), nullptr);
    send(done, "setTitle:forState:", NSString::make("Done"), 0UL);
    send(done, "setTitle:forState:", NSString::make("Wait"), 2UL);
    EXPECT_EQ(titleFor(done, UIControlStateHighlighted), "Done");
    EXPECT_EQ(titleFor(done, UIControlStateDisabled), "Wait");

    UIColor* blue = UIColor::colorWithRed(0, 75.0 / 255, 1, 1);
    send(done, "setTitleColor:forState:", blue, 0UL);
    EXPECT_EQ(send<id>(done, "titleColorForState:", 4UL), blue);

    EXPECT_EQ(describe(send<id>(done, "currentTitle")), "Done");
    send(done, "setEnabled:", false);
    EXPECT_EQ(describe(send<id>(done, "currentTitle")), "Wait");
    send(done, "setTitle:forState:", nullptr, 2UL);
    EXPECT_EQ(describe(send<id>(done, "currentTitle")), "Done") << "a title set to nil falls back again";
}

TEST(UIButton, TitleLabelIsASubviewMadeWhenNeededThatFollowsTheCurrentTitle) {
    objc::AutoreleasePool pool;
    UIButton* plain = button(0);
    EXPECT_TRUE(plain->subviews().empty());
    auto* label = send<UILabel*>(plain, "titleLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->superview(), plain);
    EXPECT_EQ(send<id>(plain, "titleLabel"), label) << "made once";

    UIButton* done = button(0);
    send(done, "setFrame:", CGRectMake(1.5, 0, 58.5, 41));
    send(done, "setTitle:forState:", NSString::make("Done"), 0UL);
    auto* doneLabel = objc::dynCast<UILabel>(done->subviews().empty() ? nullptr : done->subviews()[0].get());
    ASSERT_NE(doneLabel, nullptr) << "a title shows in a label";
    send(send<id>(done, "titleLabel"), "setFont:", UIFont::systemFontOfSize(16));
    send(done, "setTitleColor:forState:", UIColor::blackColor(), 0UL);
    send(done, "setTitle:forState:", NSString::make("Closed"), 0UL);
    EXPECT_EQ(utf8Of(doneLabel->text()), "Closed");
    EXPECT_EQ(doneLabel->textColor()->components(), (std::array<double, 4>{0, 0, 0, 1}));
    EXPECT_EQ(doneLabel->font()->pointSize(), 16) << "the font the caller gave stays";

    send(done, "layoutSubviews");
    EXPECT_EQ(doneLabel->frame(), CGRectMake(0, 0, 58.5, 41));
    EXPECT_EQ(doneLabel->textAlignment(), NSTextAlignmentCenter);
}
