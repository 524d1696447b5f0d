// Boolean readings as the settings store takes them: -boolValue of strings and numbers
// through the runtime, and no -boolValue at all for the other values a settings file may
// hold, which the store then reads as off.

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "objc/Exception.h"

#include <gtest/gtest.h>

using objc::send;

TEST(BoolValue, StringsReadAsFoundationReadsThem) {
    objc::AutoreleasePool pool;
    struct Case {
        const char* text;
        bool value;
    } cases[] = {
        {" +0001", true}, {"-y", true},     {"0x1", false}, {"  T", true}, {"", false},
        {"N", false},     {"Yes", true},    {"no", false},  {"F", false},  {"2", true},
        {"t", true},      {"\t\n 9", true}, {"000", false}, {"-0", false}, {"+", false},
        {"0009", true},   {"+-1", false},   {" yes", true}, {"1.5", true}, {"0.5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(send<bool>(NSString::make(c.text), "boolValue"), c.value) << '"' << c.text << '"';
        EXPECT_EQ(send<bool>(NSMutableString::make(c.text), "boolValue"), c.value) << '"' << c.text << '"';
    }
}

TEST(BoolValue, NumbersAreTrueWhenNotZero) {
    objc::AutoreleasePool pool;
    std::pair<NSNumber*, bool> cases[] = {
        {NSNumber::numberWithBool(true), true},    {NSNumber::numberWithBool(false), false},
        {NSNumber::numberWithLongLong(2), true},   {NSNumber::numberWithLongLong(-1), true},
        {NSNumber::numberWithLongLong(0), false},  {NSNumber::numberWithDouble(0.25), true},
        {NSNumber::numberWithDouble(-0.0), false},
    };
    for (auto [number, value] : cases)
        EXPECT_EQ(send<bool>(number, "boolValue"), value) << describe(number);
}

TEST(BoolValue, CollectionsDataAndDatesDoNotRespondToBoolValue) {
    objc::AutoreleasePool pool;
    id values[] = {NSArray::make({}), NSMutableArray::make(), NSDictionary::make({}), NSData::make("1"),
                   NSDate::make(1)};
    for (id value : values) {
        EXPECT_FALSE(send<bool>(value, "respondsToSelector:", sel_registerName("boolValue")))
            << describe(value);
        EXPECT_THROW(send<bool>(value, "boolValue"), objc::Exception) << describe(value);
    }
}
