// Writing property lists: each value keeps its type in both encodings, the bytes read
// back as the same objects, and what a property list cannot hold gives no bytes.

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

namespace {

NSDictionary* settings() {
    return NSDictionary::make({
        {NSString::make("Aw"), NSNumber::numberWithBool(true)},
        {NSString::make("Count"), NSNumber::numberWithLongLong(-2)},
        {NSString::make("Text"), NSString::make("2 < 3 & \"é\"")},
        {NSString::make("Ratio"), NSNumber::numberWithDouble(0.5)},
        {NSString::make("Blob"), NSData::make(std::string("\0\1x", 3))},
        {NSString::make("List"), NSArray::make({NSString::make("a"), NSArray::make({})})},
    });
}

} // namespace

TEST(PropertyListSerialization, BothEncodingsReadBackAsTheSameObjects) {
    objc::AutoreleasePool pool;
    for (auto format : {PropertyListFormat::Xml, PropertyListFormat::Binary}) {
        std::string bytes = serializePropertyList(settings(), format);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.starts_with("bplist00"), format == PropertyListFormat::Binary);
        auto* back = objc::dynCast<NSDictionary>(propertyListFromBytes(bytes));
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(back->isEqual(settings()));
        EXPECT_EQ(objc::cast<NSNumber>(back->objectForKey("Aw"))->kind(), NSNumber::Kind::Boolean);
        EXPECT_EQ(objc::cast<NSNumber>(back->objectForKey("Count"))->kind(), NSNumber::Kind::Integer);
        EXPECT_EQ(objc::cast<NSNumber>(back->objectForKey("Ratio"))->kind(), NSNumber::Kind::Real);
    }
}

TEST(PropertyListSerialization, WhatAPropertyListCannotHoldGivesNoBytes) {
    objc::AutoreleasePool pool;
    EXPECT_EQ(serializePropertyList(nullptr, PropertyListFormat::Xml), "");
    EXPECT_EQ(serializePropertyList(objc::make(NSObject::staticClass()), PropertyListFormat::Xml), "");
    // Keys are strings; a NUL would be cut off by the writer.
    EXPECT_EQ(
        serializePropertyList(NSDictionary::make({{NSNumber::numberWithLongLong(1), NSString::make("x")}}),
                              PropertyListFormat::Binary),
        "");
    EXPECT_EQ(serializePropertyList(NSString::make(std::string("a\0b", 3)), PropertyListFormat::Xml), "");
    // Nesting is bounded, so a list that holds itself could not recurse forever.
    id nested = NSString::make("deep");
    for (int depth = 0; depth < 1000; ++depth)
        nested = NSArray::make({nested});
    EXPECT_EQ(serializePropertyList(nested, PropertyListFormat::Xml), "");
}
