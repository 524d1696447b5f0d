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
    EXPECT_TRUE(send<bool>(NSNumber::numberWithBool(true), "boolValue"));
    EXPECT_FALSE(send<bool>(NSNumber::numberWithBool(false), "boolValue"));
    EXPECT_TRUE(send<bool>(NSNumber::numberWithLongLong(2), "boolValue"));
    EXPECT_TRUE(send<bool>(NSNumber::numberWithLongLong(-1), "boolValue"));
    EXPECT_FALSE(send<bool>(NSNumber::numberWithLongLong(0), "boolValue"));
    EXPECT_TRUE(send<bool>(NSNumber::numberWithDouble(0.25), "boolValue"));
    EXPECT_FALSE(send<bool>(NSNumber::numberWithDouble(0.0), "boolValue"));
    EXPECT_FALSE(send<bool>(NSNumber::numberWithDouble(-0.0), "boolValue"));
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

TEST(BoolValue, PlistBoolValueReadsEveryValueWithoutFailing) {
    objc::AutoreleasePool pool;
    EXPECT_FALSE(plistBoolValue(nullptr));
    EXPECT_TRUE(plistBoolValue(NSNumber::numberWithBool(true)));
    EXPECT_TRUE(plistBoolValue(NSNumber::numberWithLongLong(2)));
    EXPECT_FALSE(plistBoolValue(NSNumber::numberWithLongLong(0)));
    EXPECT_TRUE(plistBoolValue(NSString::make("Yes")));
    EXPECT_FALSE(plistBoolValue(NSString::make("No")));
    EXPECT_FALSE(plistBoolValue(NSArray::make({NSNumber::numberWithBool(true)})));
    EXPECT_FALSE(
        plistBoolValue(NSDictionary::make({{NSString::make("Aw"), NSNumber::numberWithBool(true)}})));
    EXPECT_FALSE(plistBoolValue(NSData::make("\x01")));
    EXPECT_FALSE(plistBoolValue(NSDate::make(1)));
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
    auto read = [](const char* key) {
        auto* settings = NSMutableDictionary::dictionaryWithContentsOfFile(
            "/var/mobile/Library/Preferences/bool-values.plist");
        return plistBoolValue(settings ? settings->objectForKey(NSString::make(key)) : nullptr);
    };
    EXPECT_TRUE(read("Aw"));
    EXPECT_TRUE(read("WhatsApp"));
    EXPECT_FALSE(read("Youtube"));
    EXPECT_FALSE(read("Twitter"));
    EXPECT_FALSE(read("Instagram"));
    EXPECT_FALSE(read("Messages"));
    EXPECT_FALSE(read("WACustomView"));
    EXPECT_FALSE(read("YTCustomView"));
    EXPECT_TRUE(read("TWCustomView"));
    EXPECT_TRUE(read("INCustomView"));
    EXPECT_FALSE(read("MECustomView")) << "absent";
}
