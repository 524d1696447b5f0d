// Labels: defaults that nil restores, copied text and the attributed text the hosts are
// read through.

#include "uikit/UILabel.h"

#include <gtest/gtest.h>

using objc::send;

namespace {
UILabel* label() {
    return static_cast<UILabel*>(
        objc_autorelease(send<id>(send<id>(UILabel::staticClass(), "alloc"), "initWithFrame:", CGRectNull)));
}
} // namespace

// The defaults themselves are read in every view tree a snapshot shows.
TEST(UILabel, NilColourAndFontResetToTheDefaults) {
    objc::AutoreleasePool pool;
    UILabel* title = label();
    send(title, "setTextColor:", UIColor::whiteColor());
    send(title, "setFont:", UIFont::systemFontOfSize(15));
    send(title, "setTextColor:", nullptr);
    send(title, "setFont:", nullptr);
    EXPECT_EQ(title->textColor()->components(), (std::array<double, 4>{0, 0, 0, 1}));
    EXPECT_EQ(title->font()->pointSize(), 17);
}

TEST(UILabel, KeepsACopyOfItsTextAndAnswersItAsAttributedText) {
    objc::AutoreleasePool pool;
    UILabel* comment = label();
    EXPECT_EQ(send<id>(comment, "attributedText"), nullptr);
    NSMutableString* source = NSMutableString::make("Nice \xF0\x9F\x91\x8D");
    send(comment, "setText:", source);
    source->setString("changed");
    EXPECT_EQ(utf8Of(send<id>(comment, "text")), "Nice \xF0\x9F\x91\x8D");
    EXPECT_EQ(utf8Of(send<id>(send<id>(comment, "attributedText"), "string")), "Nice \xF0\x9F\x91\x8D");

    send(comment, "setAttributedText:", NSAttributedString::make("From a host"));
    EXPECT_EQ(utf8Of(send<id>(comment, "text")), "From a host");
    send(comment, "setAttributedText:", nullptr);
    EXPECT_EQ(send<id>(comment, "text"), nullptr);
}
