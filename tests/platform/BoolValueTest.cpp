// Boolean readings as the settings store takes them: -boolValue of strings and numbers
// through the runtime, and plistBoolValue for any value a settings file may hold.

#include "TestDevice.h"

#include "foundation/BoolValue.h"
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

TEST(BoolValue, SettingsFileWithEveryKindOfValue) {
    objc::AutoreleasePool pool;
    putDeviceFile("/var/mobile/Library/Preferences/bool-values.plist",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                  "<key>Aw</key><string>Yes</string>"
                  "<key>WhatsApp</key><integer>2</integer>"
                  "<key>Youtube</key><integer>0</integer>"
                  "<key>Twitter</key><string>No</string>"
                  "<key>Instagram</key><array><true/></array>"
                  "<key>Messages</key><dict><key>Aw</key><true/></dict>"
                  "<key>WACustomView</key><data>AQ==</data>"
                  "<key>YTCustomView</key><date>2020-01-01T00:00:00Z</date>"
                  "<key>TWCustomView</key><real>0.5</real>"
                  "<key>INCustomView</key><true/>"
                  "</dict></plist>");
    auto* settings = NSMutableDictionary::dictionaryWithContentsOfFile(
        "/var/mobile/Library/Preferences/bool-values.plist");
    ASSERT_NE(settings, nullptr);
    // Collections, data and dates read as false, as does a key that is absent.
    std::pair<const char*, bool> cases[] = {
        {"Aw", true},           {"WhatsApp", true},     {"Youtube", false},      {"Twitter", false},
        {"Instagram", false},   {"Messages", false},    {"WACustomView", false}, {"YTCustomView", false},
        {"TWCustomView", true}, {"INCustomView", true}, {"MECustomView", false},
    };
    for (auto [key, value] : cases)
        EXPECT_EQ(plistBoolValue(settings->objectForKey(NSString::make(key))), value) << key;
}
