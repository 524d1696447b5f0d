// Attributed strings hand their characters out through -string, never nil.

#include "foundation/NSAttributedString.h"
#include "foundation/NSString.h"

#include <gtest/gtest.h>

using objc::send;

TEST(NSAttributedString, StringAnswersTheCharactersAndIsEmptyWithoutText) {
    objc::AutoreleasePool pool;
    id text = NSAttributedString::make("Nice comment \xF0\x9F\x91\x8D");
    EXPECT_EQ(utf8Of(send<id>(text, "string")), "Nice comment \xF0\x9F\x91\x8D");
    EXPECT_EQ(send<unsigned long>(text, "length"), 15u) << "UTF-16 units: the emoji counts two";

    id empty = send<id>(send<id>(NSAttributedString::staticClass(), "alloc"), "init");
    ASSERT_NE(send<id>(empty, "string"), nullptr);
    EXPECT_EQ(utf8Of(send<id>(empty, "string")), "");
}
