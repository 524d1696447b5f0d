// Attributed strings hand their characters out through -string.

#include "foundation/NSAttributedString.h"
#include "foundation/NSString.h"

#include <gtest/gtest.h>

using objc::send;

TEST(NSAttributedString, StringAnswersTheCharacters) {
    objc::AutoreleasePool pool;
    id text = NSAttributedString::make("Nice comment \xF0\x9F\x91\x8D");
    EXPECT_EQ(utf8Of(send<id>(text, "string")), "Nice comment \xF0\x9F\x91\x8D");
    EXPECT_EQ(send<unsigned long>(text, "length"), 15u) << "UTF-16 units: the emoji counts two";
    EXPECT_EQ(describe(text), "Nice comment \xF0\x9F\x91\x8D");
}

TEST(NSAttributedString, AllocatedWithoutTextIsEmpty) {
    objc::AutoreleasePool pool;
    id text = send<id>(send<id>(NSAttributedString::staticClass(), "alloc"), "init");
    id string = send<id>(text, "string");
    ASSERT_NE(string, nullptr);
    EXPECT_EQ(utf8Of(string), "");
}
