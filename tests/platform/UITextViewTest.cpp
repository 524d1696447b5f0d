// Text views: their text and selection in UTF-16 offsets. Copying and typing over the
// selection are played by the overlay flows, through the steps a user takes.

#include "uikit/UITextView.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

// "a😀b": the emoji takes two UTF-16 units, so the text is four units long.
constexpr const char* WithEmoji = "a\xF0\x9F\x98\x80"
                                  "b";

UITextView* textView(const char* text) {
    auto* view = static_cast<UITextView*>(objc_autorelease(send<id>(
        send<id>(UITextView::staticClass(), "alloc"), "initWithFrame:", CGRectMake(0, 0, 200, 100))));
    send(view, "setText:", NSString::make(text));
    return view;
}

NSRange selectedRange(UITextView* view) {
    return send<NSRange>(view, "selectedRange");
}

void select(UITextView* view, unsigned long location, unsigned long length) {
    send(view, "setSelectedRange:", NSMakeRange(location, length));
}

} // namespace

TEST(UITextView, SettingTextCopiesItAndPutsTheCaretAtTheEnd) {
    objc::AutoreleasePool pool;
    NSMutableString* source = NSMutableString::make(WithEmoji);
    UITextView* view = textView("");
    send(view, "setText:", source);
    source->append("more");
    EXPECT_EQ(utf8Of(view->text()), WithEmoji);
    EXPECT_EQ(selectedRange(view), NSMakeRange(4, 0));
    send(view, "setText:", nullptr);
    EXPECT_EQ(utf8Of(view->text()), "") << "never nil";
}

TEST(UITextView, SelectionIsClampedToTheTextAndNeverSplitsACharacter) {
    objc::AutoreleasePool pool;
    UITextView* view = textView(WithEmoji);
    select(view, 1, 2);
    EXPECT_EQ(selectedRange(view), NSMakeRange(1, 2));
    EXPECT_EQ(view->selectedText(), "\xF0\x9F\x98\x80");

    select(view, 2, 1); // both ends inside the surrogate pair
    EXPECT_EQ(selectedRange(view), NSMakeRange(1, 2));
    select(view, 0, 2); // the end inside the pair
    EXPECT_EQ(selectedRange(view), NSMakeRange(0, 3));
    select(view, 3, 100);
    EXPECT_EQ(selectedRange(view), NSMakeRange(3, 1));
    select(view, 100, 5);
    EXPECT_EQ(selectedRange(view), NSMakeRange(4, 0));
    select(view, 2, ~0UL); // a length that would overflow the end
    EXPECT_EQ(selectedRange(view), NSMakeRange(1, 3));
}
