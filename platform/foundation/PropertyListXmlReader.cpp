#include "PropertyListXmlReader.h"
#include "NSArray.h"
#include "NSData.h"
#include "NSNumber.h"
#include "PropertyListBuilding.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>

namespace {

using objc::Ref;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
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
    XmlReader(std::string_view xml, const PropertyListLimits& limits) : xml_(xml), limits_(limits) {
        entries_.reserve(16); // a settings file's dozen keys, without regrowing
    }

    id document() {
        if (xml_.starts_with("\xEF\xBB\xBF"))
            at_ = 3;
        if (!skipMisc())
            return nullptr;
        bool wrapped = startsWith("<plist") && (at_ + 6 == xml_.size() || !isNameCharacter(xml_[at_ + 6]));
        if (wrapped) {
            auto tag = openTag();
            if (!tag || tag->empty || !skipMisc())
                return nullptr;
        }
        id root = value(1);
        if (!root || !skipMisc())
            return nullptr;
        if (wrapped && (!closeTag("plist") || !skipMisc()))
            return nullptr;
        return at_ == xml_.size() ? root : nullptr;
    }

private:
    struct Tag {
        std::string_view name;
        bool empty = false; // <name/>
    };

    static bool isNameCharacter(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == ':' || c == '.';
    }

    bool startsWith(std::string_view prefix) const { return xml_.substr(at_).starts_with(prefix); }

    // Moves past `end`, which must come; false when the text ends first.
    bool skipPast(std::string_view end) {
        std::size_t found = xml_.find(end, at_);
        if (found == std::string_view::npos)
            return false;
        at_ = found + end.size();
        return true;
    }

    // A document type: up to its closing '>', past an internal subset in brackets.
    bool skipDoctype() {
        for (; at_ < xml_.size(); ++at_) {
            char c = xml_[at_];
            if (c == '[' && !skipPast("]"))
                return false;
            if (c == '"' || c == '\'') {
                std::size_t close = xml_.find(c, at_ + 1);
                if (close == std::string_view::npos)
                    return false;
                at_ = close;
            } else if (c == '>') {
                ++at_;
                return true;
            }
        }
        return false;
    }

    // Whitespace, comments, processing instructions and document types between elements.
    bool skipMisc() {
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
    std::optional<Tag> openTag() {
        if (!startsWith("<"))
            return std::nullopt;
        std::size_t start = ++at_;
        while (at_ < xml_.size() && isNameCharacter(xml_[at_]))
            ++at_;
        Tag tag{xml_.substr(start, at_ - start)};
        if (tag.name.empty())
            return std::nullopt;
        for (; at_ < xml_.size(); ++at_) {
            char c = xml_[at_];
            if (c == '"' || c == '\'') {
                std::size_t close = xml_.find(c, at_ + 1);
                if (close == std::string_view::npos)
                    return std::nullopt;
                at_ = close;
            } else if (c == '>') {
                tag.empty = xml_[at_ - 1] == '/';
                ++at_;
                return tag;
            }
        }
        return std::nullopt;
    }

    bool closeTag(std::string_view name) {
        if (!startsWith("</") || xml_.substr(at_ + 2, name.size()) != name)
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
        std::size_t end = xml_.find('<', at_);
        // The usual case: plain text straight up to the closing tag.
        if (end != std::string_view::npos &&
            xml_.substr(start, end - start).find('&') == std::string_view::npos &&
            xml_.substr(end, 2) == "</") {
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

    // One value at the reader's place; the root is at depth 1.
    id value(std::size_t depth) {
        if (++nodes_ > limits_.maxNodes)
            return nullptr;
        auto tag = openTag();
        if (!tag)
            return nullptr;
        std::string_view name = tag->name;
        if (name == "dict" || name == "array") {
            if (depth > limits_.maxDepth)
                return nullptr;
            return name == "dict" ? dictionary(*tag, depth) : array(*tag, depth);
        }
        if (name == "true" || name == "false") {
            if (!tag->empty && !closeTag(name))
                return nullptr;
            return NSNumber::numberWithBool(name == "true");
        }
        auto content = text(*tag);
        if (!content)
            return nullptr;
        if (name == "string")
            return NSString::make(*content);
        if (name == "integer") {
            auto number = integerFrom(*content);
            return number ? NSNumber::numberWithLongLong(*number) : nullptr;
        }
        if (name == "real") {
            auto number = realFrom(*content);
            return number ? NSNumber::numberWithDouble(*number) : nullptr;
        }
        if (name == "date") {
            auto seconds = dateFrom(*content);
            return seconds ? NSDate::make(*seconds) : nullptr;
        }
        if (name == "data") {
            auto bytes = dataFrom(*content);
            return bytes ? NSData::make(*bytes) : nullptr;
        }
        return nullptr;
    }

    id array(const Tag& tag, std::size_t depth) {
        std::vector<Ref<objc::Object>> objects;
        if (tag.empty)
            return NSArray::make(std::move(objects));
        for (;;) {
            if (!skipMisc())
                return nullptr;
            if (startsWith("</"))
                return closeTag("array") ? NSArray::make(std::move(objects)) : nullptr;
            id object = value(depth + 1);
            if (!object)
                return nullptr;
            objects.emplace_back(object);
        }
    }

    id dictionary(const Tag& tag, std::size_t depth) {
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
                auto keyTag = openTag();
                if (!keyTag || keyTag->name != "key")
                    return unwind(), nullptr;
                auto key = text(*keyTag);
                if (!key || !skipMisc())
                    return unwind(), nullptr;
                Ref<objc::Object> name = NSString::make(*key);
                id object = value(depth + 1);
                if (!object)
                    return unwind(), nullptr;
                entries_.emplace_back(std::move(name), object);
            }
            if (!closeTag("dict"))
                return unwind(), nullptr;
        }
        id dictionary =
            dictionaryFromEntries(entries_.begin() + static_cast<std::ptrdiff_t>(first), entries_.end());
        unwind();
        return dictionary;
    }

    std::string_view xml_;
    const PropertyListLimits& limits_;
    std::size_t at_ = 0;
    std::size_t nodes_ = 0;
    std::string buffer_;                       // text that needed entities or CDATA resolved
    std::vector<NSDictionary::Entry> entries_; // the open dictionaries' entries
};

} // namespace

id readXmlPropertyList(std::string_view xml, const PropertyListLimits& limits) {
    return XmlReader(xml, limits).document();
}
