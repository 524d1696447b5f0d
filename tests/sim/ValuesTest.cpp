// The small readers flows and the command line rely on: YAML scalar typing, base64,
// and command-line setting values.

#include "sim/cli/Prefs.h"
#include "sim/flow/Base64.h"
#include "sim/flow/YamlValues.h"

#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

ScalarValue scalar(const std::string& yaml) {
    auto value = scalarValue(YAML::Load(yaml));
    EXPECT_TRUE(value) << yaml << ": " << (value ? "" : value.error().message);
    return value ? *value : ScalarValue(nullptr);
}

} // namespace

TEST(YamlValues, ScalarsTypedByTheCoreSchema) {
    EXPECT_EQ(scalar("2"), ScalarValue(2LL));
    EXPECT_EQ(scalar("-0x10"), ScalarValue(std::string("-0x10"))) << "hexadecimal has no sign";
    EXPECT_EQ(scalar("0o17"), ScalarValue(15LL));
    EXPECT_EQ(scalar("2.5"), ScalarValue(2.5));
    EXPECT_EQ(scalar("1e3"), ScalarValue(1000.0));
    EXPECT_EQ(scalar("True"), ScalarValue(true));
    EXPECT_EQ(scalar("yes"), ScalarValue(std::string("yes")));
    EXPECT_EQ(scalar("~"), ScalarValue(nullptr));
    EXPECT_EQ(scalar("\"2\""), ScalarValue(std::string("2")));
    EXPECT_EQ(scalar("'true'"), ScalarValue(std::string("true")));
    EXPECT_EQ(scalar("!!str 2"), ScalarValue(std::string("2")));
    EXPECT_EQ(scalar("!!float 2"), ScalarValue(2.0));
    EXPECT_EQ(std::get<Bytes>(scalar("!!binary aGk=")).bytes, "hi");

    for (const char* refused : {"99999999999999999999", "!!int x", "!custom 2", "[1]"})
        EXPECT_FALSE(scalarValue(YAML::Load(refused))) << refused;
    EXPECT_EQ(scalar("-9223372036854775808"), ScalarValue(std::numeric_limits<long long>::min()));
}

TEST(YamlValues, AliasesCannotBlowUpAValue) {
    // Each level doubles the size: ten levels would be a million leaves.
    std::string yaml = "a: &a [x, x, x, x, x, x, x, x, x, x]\n";
    for (char level = 'b'; level <= 'k'; ++level)
        yaml += std::string(1, level) + ": &" + level + " [*" + char(level - 1) + ", *" + char(level - 1) +
                ", *" + char(level - 1) + ", *" + char(level - 1) + "]\n";
    auto json = jsonFromYaml(YAML::Load(yaml));
    ASSERT_FALSE(json);
    EXPECT_EQ(json.error().message, "value nested too deeply or too large");
}

TEST(Base64, DecodesWhatEncodingWrites) {
    for (std::string bytes : {std::string(), std::string("b"), std::string("bp"), std::string("bpl"),
                              std::string("bplist00\0\xff", 10)}) {
        auto decoded = decodeBase64(encodeBase64(bytes));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, bytes);
    }
    EXPECT_EQ(encodeBase64("bplist00"), "YnBsaXN0MDA=");
    EXPECT_EQ(*decodeBase64("YnBsaXN0MDA"), "bplist00") << "padding may be left off";
    EXPECT_EQ(*decodeBase64(" YnBs\naXN0\r\nMDA= "), "bplist00");
    EXPECT_FALSE(decodeBase64("YnBsa"));
    EXPECT_FALSE(decodeBase64("YQ==YQ=="));
    EXPECT_EQ(decodeBase64("YnB-").error(), "not base64 at offset 3");
}

TEST(Prefs, CommandLineValuesAreTyped) {
    objc::AutoreleasePool pool;
    auto kind = [](const char* text) { return objc::cast<NSNumber>(settingValueFromArgument(text))->kind(); };
    EXPECT_EQ(kind("true"), NSNumber::Kind::Boolean);
    EXPECT_EQ(kind("-2"), NSNumber::Kind::Integer);
    EXPECT_EQ(kind("+2"), NSNumber::Kind::Integer);
    EXPECT_EQ(kind("2.5"), NSNumber::Kind::Real);
    EXPECT_EQ(kind(".5e1"), NSNumber::Kind::Real);
    auto text = [](const char* text) { return objc::cast<NSString>(settingValueFromArgument(text))->utf8(); };
    EXPECT_EQ(text("\"2\""), "2");
    EXPECT_EQ(text("'true'"), "true");
    EXPECT_EQ(text("Yes"), "Yes");
    EXPECT_EQ(text("inf"), "inf");
    EXPECT_EQ(text("\""), "\"");
}
