// Reading property lists: XML and binary give the same objects, and hostile or damaged
// input (too big, too deep, shared references that expand without end, truncation,
// broken tables) reads as nil. Cycles and random damage are the fuzz corpus's to play.

#include "BinaryPlist.h"
#include "TestDevice.h"

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"
#include "objc/Exception.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view Prolog = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                                    "<plist version=\"1.0\">\n";

std::string xmlList(std::string_view body) {
    return std::string(Prolog) + std::string(body) + "\n</plist>\n";
}

const std::string SettingsBody = "<dict>"
                                 "<key>Aw</key><true/>"
                                 "<key>WhatsApp</key><false/>"
                                 "<key>Count</key><integer>-42</integer>"
                                 "<key>Ratio</key><real>0.25</real>"
                                 "<key>Name</key><string>caf\xC3\xA9 &amp; more</string>"
                                 "<key>Blob</key><data>YWJj</data>"
                                 "<key>When</key><date>2001-01-01T00:01:40Z</date>"
                                 "<key>List</key><array><integer>1</integer><string>two</string></array>"
                                 "<key>Nested</key><dict><key>Inner</key><true/></dict>"
                                 "</dict>";

std::string binarySettings() {
    return binaryPlist(xmlList(SettingsBody));
}

// A binary list written object by object, for shapes no writer makes: references are
// two bytes, offsets four.
class BinaryListWriter {
public:
    std::size_t add(std::string object) {
        objects_.push_back(std::move(object));
        return objects_.size() - 1;
    }
    std::size_t addTrue() { return add("\x09"); }
    std::size_t addString(std::string_view text) {
        return add(marker(0x50, text.size()) + std::string(text));
    }
    std::size_t addArray(const std::vector<std::size_t>& references) {
        return add(marker(0xA0, references.size()) + refs(references));
    }
    std::size_t addDictionary(const std::vector<std::size_t>& keys, const std::vector<std::size_t>& values) {
        return add(marker(0xD0, keys.size()) + refs(keys) + refs(values));
    }

    std::string finish(std::size_t top) const {
        std::string out = "bplist00";
        std::vector<std::size_t> offsets;
        for (const auto& object : objects_) {
            offsets.push_back(out.size());
            out += object;
        }
        std::size_t tableOffset = out.size();
        for (std::size_t offset : offsets)
            out += bigEndian(offset, 4);
        out += std::string(6, '\0');
        out += '\x04'; // offset size
        out += '\x02'; // reference size
        out += bigEndian(objects_.size(), 8) + bigEndian(top, 8) + bigEndian(tableOffset, 8);
        return out;
    }

    static std::string bigEndian(std::uint64_t value, std::size_t size) {
        std::string out(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            out[size - 1 - i] = static_cast<char>(value >> (8 * i) & 0xFF);
        return out;
    }

private:
    static std::string marker(unsigned type, std::size_t count) {
        if (count < 15)
            return std::string(1, static_cast<char>(type | count));
        std::string lead(1, static_cast<char>(type | 0xF));
        if (count <= 0xFFFF)
            return lead + "\x11" + bigEndian(count, 2);
        return lead + "\x12" + bigEndian(count, 4);
    }
    static std::string refs(const std::vector<std::size_t>& references) {
        std::string out;
        for (std::size_t reference : references)
            out += bigEndian(reference, 2);
        return out;
    }

    std::vector<std::string> objects_;
};

// `levels` arrays, each inside the next, the innermost holding `inside`.
std::string nestedXml(std::size_t levels, std::string_view inside = "<true/>") {
    std::string open, close;
    for (std::size_t i = 0; i < levels; ++i)
        open += "<array>", close += "</array>";
    return xmlList(open + std::string(inside) + close);
}

std::string nestedBinary(std::size_t levels) {
    BinaryListWriter writer;
    std::size_t inner = writer.addTrue();
    for (std::size_t i = 0; i < levels; ++i)
        inner = writer.addArray({inner});
    return writer.finish(inner);
}

// The bounds of a read, all but depth and expansion lifted, for lists that are large on
// purpose.
PropertyListLimits roomyLimits() {
    PropertyListLimits limits;
    limits.maxBytes = 64 << 20;
    limits.maxNodes = 1 << 20;
    return limits;
}

std::size_t depthOf(id object) {
    std::size_t depth = 0;
    while (auto* array = objc::dynCast<NSArray>(object)) {
        ++depth;
        object = array->count() ? array->objectAtIndex(0) : nullptr;
    }
    return depth;
}

// The objects SettingsBody holds.
NSDictionary* expectedSettings() {
    auto key = [](const char* text) { return NSString::make(text); };
    return NSDictionary::make({
        {key("Aw"), NSNumber::numberWithBool(true)},
        {key("WhatsApp"), NSNumber::numberWithBool(false)},
        {key("Count"), NSNumber::numberWithLongLong(-42)},
        {key("Ratio"), NSNumber::numberWithDouble(0.25)},
        {key("Name"), NSString::make("caf\xC3\xA9 & more")},
        {key("Blob"), NSData::make("abc")},
        {key("When"), NSDate::make(100)},
        {key("List"), NSArray::make({NSNumber::numberWithLongLong(1), NSString::make("two")})},
        {key("Nested"), NSDictionary::make({{key("Inner"), NSNumber::numberWithBool(true)}})},
    });
}

void expectSettings(id root) {
    auto* settings = objc::dynCast<NSDictionary>(root);
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isEqual(expectedSettings())) << describe(settings);
    // Numbers of different kinds compare equal, so the kinds are checked apart.
    std::pair<const char*, NSNumber::Kind> kinds[] = {{"Aw", NSNumber::Kind::Boolean},
                                                      {"WhatsApp", NSNumber::Kind::Boolean},
                                                      {"Count", NSNumber::Kind::Integer},
                                                      {"Ratio", NSNumber::Kind::Real}};
    for (auto [key, kind] : kinds)
        EXPECT_EQ(objc::cast<NSNumber>(settings->objectForKey(key))->kind(), kind) << key;
}

} // namespace

TEST(PropertyList, XmlAndBinaryReadAsTheSameObjects) {
    objc::AutoreleasePool pool;
    expectSettings(propertyListFromBytes(xmlList(SettingsBody)));
    expectSettings(propertyListFromBytes(binarySettings()));
}

TEST(PropertyList, AnyRootIsAListButOnlyADictionaryMakesADictionary) {
    objc::AutoreleasePool pool;
    std::string array = xmlList("<array><string>a</string><true/></array>");
    auto* root = objc::dynCast<NSArray>(propertyListFromBytes(array));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->count(), 2u);
    auto* scalar = objc::dynCast<NSString>(propertyListFromBytes(xmlList("<string>only</string>")));
    ASSERT_NE(scalar, nullptr);
    EXPECT_EQ(scalar->utf8(), "only");

    putDeviceFile("/var/mobile/root-array.plist", array);
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile("/var/mobile/root-array.plist"), nullptr);
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile("/var/mobile/none.plist"), nullptr);
    putDeviceFile("/var/mobile/root-dict.plist", xmlList(SettingsBody));
    auto* settings = NSMutableDictionary::dictionaryWithContentsOfFile("/var/mobile/root-dict.plist");
    ASSERT_NE(settings, nullptr);
    settings->setObjectForKey(NSString::make("x"), NSString::make("Added")); // mutable, as asked for
    EXPECT_EQ(settings->count(), 10u);
}

TEST(PropertyList, MutableDictionaryAllocationMakesItsDictionaryAtInit) {
    objc::AutoreleasePool pool;
    auto allocated = [] { return objc::send<id>(NSMutableDictionary::staticClass(), "alloc"); };
    // alloc answers a placeholder: each init makes a dictionary of its own.
    id first = objc_autorelease(objc::send<id>(allocated(), "init"));
    id second = objc_autorelease(objc::send<id>(allocated(), "init"));
    ASSERT_NE(first, second);
    objc::send(first, "setObject:forKey:", NSString::make("v"), NSString::make("k"));
    EXPECT_EQ(objc::cast<NSDictionary>(first)->count(), 1u);
    EXPECT_EQ(objc::cast<NSDictionary>(second)->count(), 0u);
    EXPECT_THROW(objc::send(allocated(), "setObject:forKey:", NSString::make("v"), NSString::make("k")),
                 objc::Exception);

    // From a file only the root is mutable; a plain read makes nothing mutable.
    std::string nested = xmlList("<dict><key>inner</key><dict><key>k</key><true/></dict></dict>");
    putDeviceFile("/var/mobile/nested.plist", nested);
    id read = objc_autorelease(
        objc::send<id>(allocated(), "initWithContentsOfFile:", NSString::make("/var/mobile/nested.plist")));
    ASSERT_TRUE(objc::isKindOfClass(read, NSMutableDictionary::staticClass()));
    EXPECT_FALSE(objc::isKindOfClass(objc::cast<NSDictionary>(read)->objectForKey("inner"),
                                     NSMutableDictionary::staticClass()));
    EXPECT_FALSE(objc::isKindOfClass(propertyListFromBytes(nested), NSMutableDictionary::staticClass()));
}

TEST(PropertyList, KeyGivenTwiceKeepsItsLastValueAndDecimalsIgnoreLeadingZeros) {
    objc::AutoreleasePool pool;
    auto* root = objc::dynCast<NSDictionary>(
        propertyListFromBytes(xmlList("<dict><key>Aw</key><true/><key>Aw</key><false/></dict>")));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->count(), 1u);
    EXPECT_FALSE(objc::cast<NSNumber>(root->objectForKey("Aw"))->boolValue());

    auto* numbers = objc::dynCast<NSArray>(propertyListFromBytes(
        xmlList("<array><integer>08</integer><integer> -010 </integer><integer>+0009</integer>"
                "<integer>0x1F</integer><integer>000</integer></array>")));
    ASSERT_NE(numbers, nullptr);
    std::vector<long long> values;
    for (const auto& number : *numbers)
        values.push_back(objc::cast<NSNumber>(number.get())->longLongValue());
    EXPECT_EQ(values, (std::vector<long long>{8, -10, 9, 31, 0}));
}

TEST(PropertyList, TextThatIsNoXmlOrBinaryListIsNil) {
    objc::AutoreleasePool pool;
    for (std::string_view bytes : {"", "{ Aw = 1; }", "Aw=1", "bplist", "bplist00", "<plist></plist>",
                                   "<plist><unknown/></plist>", "\xff\xfe<\0p\0"})
        EXPECT_EQ(propertyListFromBytes(bytes), nullptr) << bytes;
}

TEST(PropertyList, TruncatedListsAreNil) {
    objc::AutoreleasePool pool;
    std::string binary = binarySettings();
    for (std::size_t size = 0; size < binary.size(); ++size)
        EXPECT_EQ(propertyListFromBytes(binary.substr(0, size)), nullptr) << "binary cut at " << size;

    std::string xml = xmlList(SettingsBody);
    std::size_t rootEnd = xml.rfind("</dict>");
    for (std::size_t size = 0; size < rootEnd; ++size)
        EXPECT_EQ(propertyListFromBytes(xml.substr(0, size)), nullptr) << "XML cut at " << size;
}

TEST(PropertyList, FileOverTheByteLimitIsNil) {
    objc::AutoreleasePool pool;
    auto sized = [](std::size_t total) {
        std::string frame = xmlList("<string></string>");
        std::string body = "<string>" + std::string(total - frame.size(), 'x') + "</string>";
        return xmlList(body);
    };
    const std::size_t limit = PropertyListLimits{}.maxBytes;
    std::string atLimit = sized(limit);
    ASSERT_EQ(atLimit.size(), limit);
    EXPECT_NE(propertyListFromBytes(atLimit), nullptr);
    std::string over = sized(limit + 1);
    EXPECT_EQ(propertyListFromBytes(over), nullptr);

    putDeviceFile("/var/mobile/at-limit.plist", atLimit);
    putDeviceFile("/var/mobile/over-limit.plist", over);
    EXPECT_NE(propertyListWithContentsOfFile("/var/mobile/at-limit.plist"), nullptr);
    EXPECT_EQ(propertyListWithContentsOfFile("/var/mobile/over-limit.plist"), nullptr);
}

TEST(PropertyList, NestingBeyond512LevelsIsNil) {
    objc::AutoreleasePool pool;
    EXPECT_EQ(depthOf(propertyListFromBytes(nestedXml(512))), 512u);
    EXPECT_EQ(propertyListFromBytes(nestedXml(513)), nullptr);
    EXPECT_EQ(depthOf(propertyListFromBytes(nestedBinary(512))), 512u);
    EXPECT_EQ(propertyListFromBytes(nestedBinary(513)), nullptr);
    // Deep enough to exhaust the stack of an unbounded reader.
    EXPECT_EQ(propertyListFromBytes(nestedXml(100000), roomyLimits()), nullptr);
    EXPECT_EQ(propertyListFromBytes(nestedBinary(50000), roomyLimits()), nullptr);
}

TEST(PropertyList, XmlMarkupOutsideElementsOpensAndClosesNothing) {
    objc::AutoreleasePool pool;
    std::string arrays;
    for (int i = 0; i < 600; ++i)
        arrays += "<array>";
    // Tags inside comments, processing instructions and CDATA open nothing...
    std::string markup = "<!-- " + arrays + " --><?pi " + arrays + " ?><string><!--" + arrays +
                         "--><![CDATA[" + arrays + "]]></string>";
    EXPECT_EQ(depthOf(propertyListFromBytes(nestedXml(512, markup), roomyLimits())), 512u);
    // ...and closing tags there close nothing.
    EXPECT_EQ(propertyListFromBytes(nestedXml(513, "<!-- </array></array> -->")), nullptr);
    EXPECT_EQ(propertyListFromBytes(nestedXml(513, "<?x </array></array> ?>")), nullptr);
    // A quoted "/>" in an attribute leaves the tag open.
    EXPECT_EQ(depthOf(propertyListFromBytes(nestedXml(511, "<array x=\"/>\"></array>"))), 512u);
    // Nothing but markup may follow the root.
    EXPECT_EQ(propertyListFromBytes(xmlList("<array/><array/>")), nullptr);
    // Markup left open at the end.
    for (std::string_view open : {"<!-- x", "<?x", "<![CDATA[x", "<!DOCTYPE [", "<array x=\"", "<array"})
        EXPECT_EQ(propertyListFromBytes(xmlList("<array>").substr(0, Prolog.size() + 7) + std::string(open)),
                  nullptr)
            << open;
}

TEST(PropertyList, XmlTextResolvesEntitiesAndCdataAndReadsEveryType) {
    objc::AutoreleasePool pool;
    auto* root = objc::dynCast<NSArray>(propertyListFromBytes(
        xmlList("<array><string>a &amp; b &lt;&#x1F600;&#233;&gt;</string><string><![CDATA[<x>]]> y</string>"
                "<string/><real> 2.5 </real><real>-1e3</real><date>2001-01-02T00:00:01Z</date>"
                "<data> aGVs\nbG8= </data><false/><true></true></array>")));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->count(), 9u);
    EXPECT_EQ(utf8Of(root->objectAtIndex(0)), "a & b <\U0001F600\u00E9>");
    EXPECT_EQ(utf8Of(root->objectAtIndex(1)), "<x> y");
    EXPECT_EQ(utf8Of(root->objectAtIndex(2)), "");
    EXPECT_EQ(objc::cast<NSNumber>(root->objectAtIndex(3))->doubleValue(), 2.5);
    EXPECT_EQ(objc::cast<NSNumber>(root->objectAtIndex(4))->doubleValue(), -1000);
    EXPECT_EQ(objc::cast<NSDate>(root->objectAtIndex(5))->timeIntervalSinceReferenceDate(), 86401);
    EXPECT_EQ(objc::cast<NSData>(root->objectAtIndex(6))->bytes(), "hello");
    EXPECT_FALSE(objc::cast<NSNumber>(root->objectAtIndex(7))->boolValue());
    EXPECT_TRUE(objc::cast<NSNumber>(root->objectAtIndex(8))->boolValue());

    for (std::string_view bad :
         {"<string>a &bogus; b</string>", "<string>a<b/></string>", "<integer>12x</integer>",
          "<date>yesterday</date>", "<data>!!</data>", "<string>a</str>",
          "<dict><string>k</string><true/></dict>", "<dict><key>k</key></dict>"})
        EXPECT_EQ(propertyListFromBytes(xmlList(std::string(bad))), nullptr) << bad;

    // Keys and booleans written otherwise than the plain way read the same.
    auto* keys = objc::dynCast<NSDictionary>(propertyListFromBytes(
        xmlList("<dict><key>a &amp; b</key><true /><key>c<!-- x --></key><false></false>"
                "<key id=\"1\">d</key ><true/><key><![CDATA[e]]></key><false/></dict>")));
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->count(), 4u);
    EXPECT_TRUE(objc::cast<NSNumber>(keys->objectForKey("a & b"))->boolValue());
    EXPECT_FALSE(objc::cast<NSNumber>(keys->objectForKey("c"))->boolValue());
    EXPECT_TRUE(objc::cast<NSNumber>(keys->objectForKey("d"))->boolValue());
    EXPECT_FALSE(objc::cast<NSNumber>(keys->objectForKey("e"))->boolValue());
}

TEST(PropertyList, XmlValuesAndKeysPastTheNodeLimitAreNil) {
    objc::AutoreleasePool pool;
    std::string many;
    for (std::size_t i = 0; i < PropertyListLimits{}.maxNodes; ++i)
        many += "<true/>";
    EXPECT_NE(propertyListFromBytes(xmlList("<array>" + many.substr(7) + "</array>")), nullptr);
    EXPECT_EQ(propertyListFromBytes(xmlList("<array>" + many + "</array>")), nullptr);

    // Keys count as nodes too, as each is an object of its own in the binary form.
    auto dictionary = [](std::size_t entries) {
        std::string body;
        for (std::size_t i = 0; i < entries; ++i)
            body += "<key>k" + std::to_string(i) + "</key><true/>";
        return xmlList("<dict>" + body + "</dict>");
    };
    const std::size_t fits = (PropertyListLimits{}.maxNodes - 1) / 2;
    EXPECT_NE(propertyListFromBytes(dictionary(fits)), nullptr);
    EXPECT_EQ(propertyListFromBytes(dictionary(fits + 1)), nullptr);
}

TEST(PropertyList, SharedReferencesThatWouldExpandPastTheNodeLimitAreNil) {
    objc::AutoreleasePool pool;
    // 20 arrays, each holding the previous twice: a few hundred bytes, 2^21 nodes expanded.
    BinaryListWriter writer;
    std::size_t previous = writer.addTrue();
    for (int i = 0; i < 20; ++i)
        previous = writer.addArray({previous, previous});
    std::string bomb = writer.finish(previous);
    EXPECT_LT(bomb.size(), 400u);
    EXPECT_EQ(propertyListFromBytes(bomb), nullptr);

    // Sharing within the limit is read out in full, each reference its own copy.
    BinaryListWriter modest;
    std::size_t shared = modest.addString("Yes");
    std::size_t level = modest.addArray({shared, shared, shared});
    auto* root =
        objc::dynCast<NSArray>(propertyListFromBytes(modest.finish(modest.addArray({level, level}))));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->count(), 2u);
    EXPECT_EQ(utf8Of(objc::cast<NSArray>(root->objectAtIndex(1))->objectAtIndex(2)), "Yes");
}

TEST(PropertyList, SharedStringsThatWouldExpandPastTheByteLimitAreNil) {
    objc::AutoreleasePool pool;
    BinaryListWriter writer;
    std::size_t big = writer.addString(std::string(10000, 'x'));
    std::vector<std::size_t> references(500, big); // 500 nodes, 5 MB of text
    std::string bytes = writer.finish(writer.addArray(references));
    ASSERT_LE(bytes.size(), PropertyListLimits{}.maxBytes);
    EXPECT_EQ(propertyListFromBytes(bytes), nullptr);
    PropertyListLimits roomy;
    roomy.maxExpandedBytes = 32 << 20;
    EXPECT_NE(propertyListFromBytes(bytes, roomy), nullptr);
}

TEST(PropertyList, MalformedBinaryTablesAreNil) {
    objc::AutoreleasePool pool;
    BinaryListWriter writer;
    std::size_t key = writer.addString("Aw");
    std::size_t value = writer.addTrue();
    std::size_t top = writer.addDictionary({key}, {value});
    std::string good = writer.finish(top);
    ASSERT_NE(propertyListFromBytes(good), nullptr);

    std::size_t trailer = good.size() - 32;
    auto patched = [&](std::size_t at, std::string bytes) {
        std::string copy = good;
        copy.replace(at, bytes.size(), bytes);
        return copy;
    };
    std::size_t tableOffset = trailer - 3 * 4;
    std::size_t dictionaryAt = good.size() - 32 - 12 - 5;
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"offset size 0", patched(trailer + 6, std::string(1, '\0'))},
        {"reference size 9", patched(trailer + 7, "\x09")},
        {"no objects", patched(trailer + 8, BinaryListWriter::bigEndian(0, 8))},
        {"more objects than the table holds", patched(trailer + 8, BinaryListWriter::bigEndian(4, 8))},
        {"object count past 2^63", patched(trailer + 8, BinaryListWriter::bigEndian(~0ull, 8))},
        {"top object past the last", patched(trailer + 16, BinaryListWriter::bigEndian(3, 8))},
        {"table inside the header", patched(trailer + 24, BinaryListWriter::bigEndian(4, 8))},
        {"table past the trailer", patched(trailer + 24, BinaryListWriter::bigEndian(good.size(), 8))},
        {"offset into the table", patched(tableOffset, BinaryListWriter::bigEndian(tableOffset, 4))},
        {"offset into the header", patched(tableOffset, BinaryListWriter::bigEndian(2, 4))},
        {"reference out of range", patched(dictionaryAt + 3, BinaryListWriter::bigEndian(7, 2))},
        {"key that is no string", patched(dictionaryAt + 1, BinaryListWriter::bigEndian(1, 2))},
        {"count past the end", patched(dictionaryAt, std::string("\xDF\x11\x7F\xFF\x00", 5))},
        {"set marker", patched(dictionaryAt, "\xC1")},
        {"null marker", patched(good.find('\x09'), std::string(1, '\0'))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(propertyListFromBytes(c.bytes), nullptr) << c.what;
}
