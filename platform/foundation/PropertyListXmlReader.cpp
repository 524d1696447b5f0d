#include "PropertyListXmlReader.h"
#include "NSArray.h"
#include "NSData.h"
#include "NSNumber.h"
#include "PropertyListBuilding.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

namespace {

using objc::Ref;

// The classes of the characters the reader scans for, looked up in one table: the scans
// of white space, names and text run over every byte of the document.
enum CharacterClass : unsigned char { Space = 1, NameCharacter = 2, TextStop = 4 };

constexpr std::array<unsigned char, 256> CharacterClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (char c : {' ', '\t', '\n', '\r'})
        classes[static_cast<unsigned char>(c)] |= Space;
    for (int c = 0; c < 256; ++c)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
            c == '-' || c == ':' || c == '.')
            classes[c] |= NameCharacter;
    classes['<'] |= TextStop;
    classes['&'] |= TextStop;
    return classes;
}();

bool hasClass(char c, CharacterClass of) {
    return CharacterClasses[static_cast<unsigned char>(c)] & of;
}

bool isSpace(char c) {
    return hasClass(c, Space);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// <integer>: an optional sign, then decimal digits (leading zeros ignored, as Foundation
// reads them) or 0x and hexadecimal digits. Past 64 bits it is no integer of a list.
std::optional<long long> integerFrom(std::string_view text) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t magnitude = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return static_cast<long long>(negative ? 0 - magnitude : magnitude);
}

std::optional<double> realFrom(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Days from 1970-01-01 to a civil date (Howard Hinnant's algorithm).
long long daysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    long long era = (year >= 0 ? year : year - 399) / 400;
    unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

// <date>: YYYY-MM-DDTHH:MM:SSZ, as seconds since 2001-01-01 00:00 UTC.
std::optional<double> dateFrom(std::string_view text) {
    text = trimmed(text);
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z')
        return std::nullopt;
    auto field = [&](std::size_t at, std::size_t length) -> std::optional<unsigned> {
        unsigned value = 0;
        auto [end, error] = std::from_chars(text.data() + at, text.data() + at + length, value);
        if (error != std::errc() || end != text.data() + at + length)
            return std::nullopt;
        return value;
    };
    auto year = field(0, 4), month = field(5, 2), day = field(8, 2);
    auto hour = field(11, 2), minute = field(14, 2), second = field(17, 2);
    if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 || *day < 1 ||
        *day > 31 || *hour > 23 || *minute > 59 || *second > 60)
        return std::nullopt;
    constexpr long long ReferenceDay = 11323; // 2001-01-01
    long long days = daysFromCivil(*year, *month, *day) - ReferenceDay;
    return static_cast<double>(days * 86400 + *hour * 3600 + *minute * 60 + *second);
}

// <data>: base64, whitespace anywhere, padding at the end only.
std::optional<std::string> dataFrom(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3 / 4);
    std::uint32_t bits = 0;
    int held = 0;
    bool padded = false;
    for (char c : text) {
        if (isSpace(c))
            continue;
        if (c == '=') {
            padded = true;
            continue;
        }
        int value = c >= 'A' && c <= 'Z'   ? c - 'A'
                    : c >= 'a' && c <= 'z' ? c - 'a' + 26
                    : c >= '0' && c <= '9' ? c - '0' + 52
                    : c == '+'             ? 62
                    : c == '/'             ? 63
                                           : -1;
        if (value < 0 || padded)
            return std::nullopt;
        bits = bits << 6 | static_cast<std::uint32_t>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            out += static_cast<char>(bits >> held & 0xFF);
        }
    }
    return out;
}

class XmlReader {
public:
    XmlReader(std::string_view xml, const PropertyListLimits& limits, PropertyListMutability mutability)
        : xml_(xml), limits_(limits), mutability_(mutability) {
        entries_.reserve(16); // a settings file's dozen keys, without regrowing
    }

    id document() {
        if (xml_.starts_with("\xEF\xBB\xBF"))
            at_ = 3;
        if (!skipMisc())
            return nullptr;
        bool wrapped = startsWith("<plist") && (at_ + 6 == xml_.size() || !isNameCharacter(xml_[at_ + 6]));
        if (wrapped) {
            Tag tag;
            if (!openTag(tag) || tag.empty || !skipMisc())
                return nullptr;
        }
        Ref<objc::Object> root = value(1);
        if (!root || !skipMisc())
            return nullptr;
        if (wrapped && (!closeTag("plist") || !skipMisc()))
            return nullptr;
        return at_ == xml_.size() ? objc::autorelease(root.get()) : nullptr;
    }

private:
    struct Tag {
        std::string_view name;
        bool empty = false; // <name/>
    };

    // ASCII only, without the locale's classification.
    static bool isNameCharacter(char c) { return hasClass(c, NameCharacter); }

    // Compared here rather than through memcmp: the prefixes are a few letters, and the
    // reader asks for one at nearly every step.
    bool startsWithAt(std::size_t at, std::string_view prefix) const {
        if (at > xml_.size() || xml_.size() - at < prefix.size())
            return false;
        for (std::size_t i = 0; i < prefix.size(); ++i)
            if (xml_[at + i] != prefix[i])
                return false;
        return true;
    }
    bool startsWith(std::string_view prefix) const { return startsWithAt(at_, prefix); }

    // Moves past `end`, which must come; false when the text ends first.
    bool skipPast(std::string_view end) {
        std::size_t found = xml_.find(end, at_);
        if (found == std::string_view::npos)
            return false;
        at_ = found + end.size();
        return true;
    }

    // At a quote, to the quote that closes it; false when none does.
    bool skipToClosingQuote() {
        std::size_t close = xml_.find(xml_[at_], at_ + 1);
        if (close == std::string_view::npos)
            return false;
        at_ = close;
        return true;
    }

    // A document type: up to its closing '>', past an internal subset in brackets.
    bool skipDoctype() {
        for (; at_ < xml_.size(); ++at_) {
            char c = xml_[at_];
            if (c == '[' && !skipPast("]"))
                return false;
            if (c == '"' || c == '\'') {
                if (!skipToClosingQuote())
                    return false;
            } else if (c == '>') {
                ++at_;
                return true;
            }
        }
        return false;
    }

    // Whitespace, comments, processing instructions and document types between elements.
    // Most often only white space comes before the next element: that part is small
    // enough to be inlined at every call, and the markup is skipped out of line.
    bool skipMisc() {
        while (at_ < xml_.size() && isSpace(xml_[at_]))
            ++at_;
        if (at_ + 1 >= xml_.size() || xml_[at_] != '<' || (xml_[at_ + 1] != '!' && xml_[at_ + 1] != '?'))
            return true;
        return skipMarkup();
    }

    [[gnu::noinline]] bool skipMarkup() {
        for (;;) {
            while (at_ < xml_.size() && isSpace(xml_[at_]))
                ++at_;
            bool skipped = true;
            if (startsWith("<!--"))
                skipped = skipPast("-->");
            else if (startsWith("<?"))
                skipped = skipPast("?>");
            else if (startsWith("<!DOCTYPE"))
                skipped = skipDoctype();
            else
                return true;
            if (!skipped)
                return false;
        }
    }

    // An opening tag at the reader's place, attributes read past (quotes respected).
    // Filled in place rather than answered: it is read for every value.
    bool openTag(Tag& tag) {
        if (!startsWith("<"))
            return false;
        std::size_t start = ++at_;
        while (at_ < xml_.size() && isNameCharacter(xml_[at_]))
            ++at_;
        tag.name = xml_.substr(start, at_ - start);
        if (tag.name.empty())
            return false;
        for (; at_ < xml_.size(); ++at_) {
            char c = xml_[at_];
            if (c == '"' || c == '\'') {
                if (!skipToClosingQuote())
                    return false;
            } else if (c == '>') {
                tag.empty = xml_[at_ - 1] == '/';
                ++at_;
                return true;
            }
        }
        return false;
    }

    bool closeTag(std::string_view name) {
        if (!startsWith("</") || !startsWithAt(at_ + 2, name))
            return false;
        at_ += 2 + name.size();
        while (at_ < xml_.size() && isSpace(xml_[at_]))
            ++at_;
        if (at_ >= xml_.size() || xml_[at_] != '>')
            return false;
        ++at_;
        return true;
    }

    // The character data of an element up to its closing tag, entities and CDATA
    // resolved and comments left out. Another element inside is not allowed.
    std::optional<std::string_view> text(const Tag& tag) {
        if (tag.empty)
            return std::string_view();
        std::size_t start = at_;
        // The usual case: plain text straight up to the closing tag, found in one pass.
        std::size_t end = start;
        while (end < xml_.size() && !hasClass(xml_[end], TextStop))
            ++end;
        if (startsWithAt(end, "</")) {
            at_ = end;
            if (!closeTag(tag.name))
                return std::nullopt;
            return xml_.substr(start, end - start);
        }
        buffer_.clear();
        while (at_ < xml_.size()) {
            char c = xml_[at_];
            if (c == '&') {
                if (!entity())
                    return std::nullopt;
            } else if (startsWith("<![CDATA[")) {
                std::size_t from = at_ + 9;
                if (!skipPast("]]>"))
                    return std::nullopt;
                buffer_.append(xml_.substr(from, at_ - 3 - from));
            } else if (startsWith("<!--")) {
                if (!skipPast("-->"))
                    return std::nullopt;
            } else if (startsWith("<?")) {
                if (!skipPast("?>"))
                    return std::nullopt;
            } else if (c == '<') {
                if (!closeTag(tag.name))
                    return std::nullopt;
                return std::string_view(buffer_);
            } else {
                buffer_ += c;
                ++at_;
            }
        }
        return std::nullopt;
    }

    bool entity() {
        std::size_t semicolon = xml_.find(';', at_);
        if (semicolon == std::string_view::npos || semicolon - at_ > 12)
            return false;
        std::string_view name = xml_.substr(at_ + 1, semicolon - at_ - 1);
        at_ = semicolon + 1;
        static constexpr std::pair<std::string_view, char> named[] = {
            {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        for (auto [entity, character] : named)
            if (name == entity) {
                buffer_ += character;
                return true;
            }
        if (name.size() < 2 || name[0] != '#')
            return false;
        bool hex = name[1] == 'x' || name[1] == 'X';
        std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || code == 0 ||
            code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        appendUtf8(buffer_, code);
        return true;
    }

    enum class Element { Dict, Array, True, False, String, Integer, Real, Date, Data, Unknown };

    // Told apart by the first letter before the whole name: every value comes here.
    static Element elementNamed(std::string_view name) {
        auto is = [&](std::string_view candidate, Element element) {
            return name == candidate ? element : Element::Unknown;
        };
        switch (name.empty() ? '\0' : name[0]) {
        case 'd':
            return name == "dict"   ? Element::Dict
                   : name == "date" ? Element::Date
                                    : is("data", Element::Data);
        case 'a':
            return is("array", Element::Array);
        case 't':
            return is("true", Element::True);
        case 'f':
            return is("false", Element::False);
        case 's':
            return is("string", Element::String);
        case 'i':
            return is("integer", Element::Integer);
        case 'r':
            return is("real", Element::Real);
        default:
            return Element::Unknown;
        }
    }

    // One value at the reader's place; the root is at depth 1. Strings and containers
    // are made outside the autorelease pool: the read holds them and hands out only
    // the root.
    Ref<objc::Object> value(std::size_t depth) {
        if (++nodes_ > limits_.maxNodes)
            return nullptr;
        // A settings file is mostly booleans, written the one way: read here, without the
        // general reading's frame.
        if (startsWith("<true/>") || startsWith("<false/>")) {
            bool yes = xml_[at_ + 1] == 't';
            at_ += yes ? 7 : 8;
            return NSNumber::numberWithBool(yes);
        }
        return element(depth);
    }

    [[gnu::noinline]] Ref<objc::Object> element(std::size_t depth) {
        Tag tag;
        if (!openTag(tag))
            return nullptr;
        Element element = elementNamed(tag.name);
        switch (element) {
        case Element::Dict:
        case Element::Array:
            if (depth > limits_.maxDepth)
                return nullptr;
            return element == Element::Dict ? dictionary(tag, depth) : array(tag, depth);
        case Element::True:
        case Element::False:
            if (!tag.empty && !closeTag(tag.name))
                return nullptr;
            return NSNumber::numberWithBool(element == Element::True);
        case Element::Unknown:
            return nullptr;
        default:
            break;
        }
        auto content = text(tag);
        if (!content)
            return nullptr;
        switch (element) {
        case Element::String:
            return NSString::makeOwned(*content);
        case Element::Integer: {
            auto number = integerFrom(*content);
            return number ? NSNumber::numberWithLongLong(*number) : nullptr;
        }
        case Element::Real: {
            auto number = realFrom(*content);
            return number ? NSNumber::numberWithDouble(*number) : nullptr;
        }
        case Element::Date: {
            auto seconds = dateFrom(*content);
            return seconds ? NSDate::make(*seconds) : nullptr;
        }
        default: { // Element::Data
            auto bytes = dataFrom(*content);
            return bytes ? NSData::make(*bytes) : nullptr;
        }
        }
    }

    // A key as it is nearly always written, "<key>" and plain text up to "</key>", read
    // in one pass; anything else (attributes, entities, comments, CDATA, white space in
    // the tags) is left to the general reading, from the same place.
    std::optional<std::string_view> plainKey() {
        if (!startsWith("<key>"))
            return std::nullopt;
        std::size_t start = at_ + 5;
        std::size_t end = start;
        while (end < xml_.size() && !hasClass(xml_[end], TextStop))
            ++end;
        if (!startsWithAt(end, "</key>"))
            return std::nullopt;
        at_ = end + 6;
        return xml_.substr(start, end - start);
    }

    Ref<objc::Object> array(const Tag& tag, std::size_t depth) {
        std::vector<Ref<objc::Object>> objects;
        if (tag.empty)
            return NSArray::makeOwned(std::move(objects));
        for (;;) {
            if (!skipMisc())
                return nullptr;
            if (startsWith("</"))
                return closeTag("array") ? NSArray::makeOwned(std::move(objects)) : nullptr;
            Ref<objc::Object> object = value(depth + 1);
            if (!object)
                return nullptr;
            objects.push_back(std::move(object));
        }
    }

    Ref<objc::Object> dictionary(const Tag& tag, std::size_t depth) {
        // Entries gather on one stack shared by every dictionary of the read, so that a
        // dictionary costs one allocation of its own whatever its size.
        std::size_t first = entries_.size();
        auto unwind = [&] { entries_.resize(first); };
        if (!tag.empty) {
            for (;;) {
                if (!skipMisc())
                    return unwind(), nullptr;
                if (startsWith("</"))
                    break;
                // A key is a node as its value is, as in the binary form, which stores
                // each key as an object of its own.
                if (++nodes_ > limits_.maxNodes)
                    return unwind(), nullptr;
                auto key = plainKey();
                if (!key) {
                    Tag keyTag;
                    if (!openTag(keyTag) || keyTag.name != "key")
                        return unwind(), nullptr;
                    key = text(keyTag);
                }
                if (!key || !skipMisc())
                    return unwind(), nullptr;
                Ref<objc::Object> name = NSString::makeOwned(*key);
                Ref<objc::Object> object = value(depth + 1);
                if (!object)
                    return unwind(), nullptr;
                entries_.emplace_back(std::move(name), std::move(object));
            }
            if (!closeTag("dict"))
                return unwind(), nullptr;
        }
        // The outermost dictionary takes the whole stack as its own list.
        std::vector<NSDictionary::Entry> own;
        if (first == 0)
            own.swap(entries_);
        else
            own.assign(std::make_move_iterator(entries_.begin() + static_cast<std::ptrdiff_t>(first)),
                       std::make_move_iterator(entries_.end()));
        unwind();
        return dictionaryFromEntries(std::move(own),
                                     depth == 1 ? mutability_ : PropertyListMutability::Immutable);
    }

    std::string_view xml_;
    const PropertyListLimits& limits_;
    PropertyListMutability mutability_; // of the root, at depth 1
    std::size_t at_ = 0;
    std::size_t nodes_ = 0;
    std::string buffer_;                       // text that needed entities or CDATA resolved
    std::vector<NSDictionary::Entry> entries_; // the open dictionaries' entries
};

} // namespace

id readXmlPropertyList(std::string_view xml, const PropertyListLimits& limits,
                       PropertyListMutability mutability) {
    return XmlReader(xml, limits, mutability).document();
}
