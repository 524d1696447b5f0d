#include "PropertyListBinaryReader.h"
#include "NSArray.h"
#include "NSData.h"
#include "NSDictionary.h"
#include "NSNumber.h"
#include "NSString.h"
#include "PropertyListBuilding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view Magic = "bplist00";
constexpr std::size_t TrailerSize = 32;

std::uint64_t readBigEndian(const unsigned char* bytes, std::size_t size) {
    // Offsets and references are mostly one byte wide: that case costs no loop.
    if (size == 1)
        return bytes[0];
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// What the marker of one object says about it, checked against the bytes.
struct Shape {
    unsigned type = 0;            // the marker's high nibble
    unsigned info = 0;            // its low nibble
    std::size_t at = 0;           // offset of the contents, past the marker and any count
    std::uint64_t count = 0;      // bytes, UTF-16 units or entries
    bool container = false;       // an array or a dictionary
    bool dictionary = false;      // its references are the keys, then the values
    bool key = false;             // a string without NUL: may serve as a dictionary key
    std::uint64_t references = 0; // references that follow the marker
    std::size_t referencesAt = 0; // offset of the first reference
    std::uint64_t bytes = 0;      // the string or data bytes the object expands to
};

// The trailer and offset table of a binary list, checked, and the objects they locate.
class BinaryList {
public:
    static std::optional<BinaryList> open(std::string_view bytes) {
        if (bytes.size() < Magic.size() + 2 + TrailerSize || bytes.substr(0, Magic.size()) != Magic)
            return std::nullopt;
        BinaryList list;
        list.bytes_ = reinterpret_cast<const unsigned char*>(bytes.data());
        const unsigned char* trailer = list.bytes_ + bytes.size() - TrailerSize;
        std::size_t offsetSize = trailer[6];
        list.referenceSize_ = trailer[7];
        std::uint64_t count = readBigEndian(trailer + 8, 8);
        list.top_ = readBigEndian(trailer + 16, 8);
        std::uint64_t tableOffset = readBigEndian(trailer + 24, 8);
        std::size_t tableLimit = bytes.size() - TrailerSize;
        if (offsetSize < 1 || offsetSize > 8 || list.referenceSize_ < 1 || list.referenceSize_ > 8)
            return std::nullopt;
        // At least one object lies between the magic and the offset table.
        if (tableOffset <= Magic.size() || tableOffset >= tableLimit)
            return std::nullopt;
        if (count == 0 || count > (tableLimit - tableOffset) / offsetSize || list.top_ >= count)
            return std::nullopt;
        list.objectsEnd_ = static_cast<std::size_t>(tableOffset);
        list.offsetTable_ = list.bytes_ + tableOffset;
        list.offsetSize_ = offsetSize;
        list.count_ = static_cast<std::size_t>(count);
        // Every offset is checked once here and read again where it is needed, which
        // costs less than a copy of the table.
        for (std::size_t i = 0; i < list.count_; ++i)
            if (std::uint64_t offset = list.offset(i); offset < Magic.size() || offset >= tableOffset)
                return std::nullopt;
        return list;
    }

    std::size_t objectCount() const { return count_; }
    const unsigned char* bytes() const { return bytes_; }
    std::size_t top() const { return static_cast<std::size_t>(top_); }

    // The object's shape, or nothing when its marker is unknown or its contents run past
    // the objects' area.
    std::optional<Shape> shape(std::size_t object) const {
        std::size_t at = offset(object);
        unsigned marker = bytes_[at++];
        Shape shape;
        shape.type = marker >> 4;
        shape.info = marker & 0xF;
        shape.at = at;
        const unsigned info = shape.info;
        switch (shape.type) {
        case 0x0: // false and true; null and fill are not property list values
            if (info == 0x8 || info == 0x9)
                return shape;
            return std::nullopt;
        case 0x1: // integer of 1, 2, 4, 8 or 16 bytes
            if (info <= 4 && fits(at, std::uint64_t{1} << info))
                return shape;
            return std::nullopt;
        case 0x2: // real of 4 or 8 bytes
            if ((info == 2 || info == 3) && fits(at, std::uint64_t{1} << info))
                return shape;
            return std::nullopt;
        case 0x3: // date
            if (info == 3 && fits(at, 8))
                return shape;
            return std::nullopt;
        case 0x4: // data
        case 0x5: // ASCII string
        case 0x6: // UTF-16 string
            return bytesShape(shape);
        case 0x8: // keyed archiver UID
            if (info <= 7 && fits(at, info + 1))
                return shape;
            return std::nullopt;
        case 0xA: // array
        case 0xD: // dictionary
            return containerShape(shape);
        default: // sets and reserved markers
            return std::nullopt;
        }
    }

    // The object that a container's reference names, or nothing when out of range.
    std::optional<std::size_t> reference(const Shape& shape, std::uint64_t index) const {
        std::uint64_t object =
            readBigEndian(bytes_ + shape.referencesAt + index * referenceSize_, referenceSize_);
        if (object >= count_)
            return std::nullopt;
        return static_cast<std::size_t>(object);
    }

private:
    bool fits(std::size_t at, std::uint64_t size) const { return size <= objectsEnd_ - at; }

    // An object's count: in the marker, or when 15 or more as an integer object after it;
    // `at` moves past what was read.
    std::optional<std::uint64_t> count(unsigned info, std::size_t& at) const {
        if (info != 0xF)
            return info;
        if (!fits(at, 1))
            return std::nullopt;
        unsigned sizeMarker = bytes_[at++];
        if (sizeMarker >> 4 != 0x1 || (sizeMarker & 0xF) > 3)
            return std::nullopt;
        std::size_t size = std::size_t{1} << (sizeMarker & 0xF);
        if (!fits(at, size))
            return std::nullopt;
        std::uint64_t value = readBigEndian(bytes_ + at, size);
        at += size;
        return value;
    }

    // Data and strings: their bytes must lie in the objects' area.
    std::optional<Shape> bytesShape(Shape shape) const {
        std::size_t at = shape.at;
        auto count = this->count(shape.info, at);
        unsigned unitShift = shape.type == 0x6 ? 1 : 0; // UTF-16 units are two bytes
        if (!count || *count > (objectsEnd_ - at) >> unitShift)
            return std::nullopt;
        if (shape.type == 0x5)
            shape.key = std::string_view(reinterpret_cast<const char*>(bytes_ + at), *count).find('\0') ==
                        std::string_view::npos;
        if (shape.type == 0x6) {
            shape.key = true;
            for (std::uint64_t unit = 0; unit < *count && shape.key; ++unit)
                shape.key = bytes_[at + 2 * unit] != 0 || bytes_[at + 2 * unit + 1] != 0;
        }
        // A UTF-16 unit becomes at most three bytes of UTF-8.
        shape.bytes = shape.type == 0x6 ? *count * 3 : *count;
        shape.at = at;
        shape.count = *count;
        return shape;
    }

    // Arrays and dictionaries: their references must lie in the objects' area.
    std::optional<Shape> containerShape(Shape shape) const {
        std::size_t at = shape.at;
        auto count = this->count(shape.info, at);
        std::uint64_t perEntry = shape.type == 0xD ? 2 : 1;
        if (!count || *count > (objectsEnd_ - at) / referenceSize_ / perEntry)
            return std::nullopt;
        shape.container = true;
        shape.dictionary = shape.type == 0xD;
        shape.references = *count * perEntry;
        shape.referencesAt = at;
        shape.at = at;
        shape.count = *count;
        return shape;
    }

    std::size_t offset(std::size_t object) const {
        return static_cast<std::size_t>(readBigEndian(offsetTable_ + object * offsetSize_, offsetSize_));
    }

    const unsigned char* bytes_ = nullptr;
    std::size_t referenceSize_ = 0;
    std::uint64_t top_ = 0;
    std::size_t objectsEnd_ = 0; // objects lie between the magic and the offset table
    const unsigned char* offsetTable_ = nullptr;
    std::size_t offsetSize_ = 0;
    std::size_t count_ = 0;
};

// What an object expands to once every reference is copied.
struct Expansion {
    std::uint64_t nodes = 0;
    std::uint64_t bytes = 0;
    std::uint64_t depth = 0; // containers on the longest path down, itself included

    void add(const Expansion& child) {
        nodes += child.nodes;
        bytes += child.bytes;
        depth = std::max(depth, child.depth);
    }
    bool within(const PropertyListLimits& limits) const {
        return nodes <= limits.maxNodes && bytes <= limits.maxExpandedBytes && depth <= limits.maxDepth;
    }
};

enum class Visit : unsigned char { Unseen, Open, Done };

// What a read knows of each object: where the read stands with it, whether it may be a
// key, what it expands to, and the object once built. One list serves the whole read.
struct ObjectState {
    Visit visit = Visit::Unseen;
    bool key = false;
    Expansion expansion;
    objc::Ref<objc::Object> built;
};

// Big-endian UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8FromUtf16(const unsigned char* units, std::uint64_t count) {
    std::string out;
    out.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint32_t unit = units[2 * i] << 8 | units[2 * i + 1];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count) {
            std::uint32_t next = units[2 * i + 2] << 8 | units[2 * i + 3];
            if (next >= 0xDC00 && next < 0xE000) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return out;
}

// Builds the objects from the top one down, each once, and counts as it goes what each
// expands to: a cycle, a malformed object, a key that may not be one, a nest deeper
// than maxDepth or an expansion past the limits ends the read. What an expansion counts
// is at least the objects built, so a read that fails has built no more than the limits.
class Reader {
public:
    Reader(const BinaryList& list, const PropertyListLimits& limits, PropertyListMutability rootMutability)
        : list_(list), limits_(limits), rootMutability_(rootMutability), states_(list.objectCount()) {}

    id readTop() {
        std::size_t top = list_.top();
        if (!read(top, 0, false))
            return nullptr;
        return objc::autorelease(states_[top].built.get());
    }

private:
    // False when the object cannot be read; on success its state holds it built.
    // Recursive, at most maxDepth deep.
    bool read(std::size_t object, std::size_t depth, bool asKey) {
        ObjectState& state = states_[object];
        if (state.visit == Visit::Done)
            return !asKey || state.key;
        if (state.visit == Visit::Open)
            return false;
        auto shape = list_.shape(object);
        if (!shape || (asKey && !shape->key))
            return false;
        state.key = shape->key;
        if (!shape->container) {
            state.expansion = {1, shape->bytes, 0};
            if (!state.expansion.within(limits_))
                return false;
            state.built = buildScalar(*shape);
        } else {
            if (depth >= limits_.maxDepth)
                return false;
            state.visit = Visit::Open;
            Expansion children;
            for (std::uint64_t i = 0; i < shape->references; ++i) {
                auto child = list_.reference(*shape, i);
                bool isKey = shape->dictionary && i < shape->count;
                if (!child || !read(*child, depth + 1, isKey))
                    return false;
                children.add(states_[*child].expansion);
                if (!children.within(limits_))
                    return false;
            }
            children.nodes += 1;
            children.depth += 1;
            if (!children.within(limits_))
                return false;
            state.expansion = children; // `state` still stands: the list is sized once
            state.built = buildContainer(*shape, object == list_.top() ? rootMutability_
                                                                       : PropertyListMutability::Immutable);
        }
        state.visit = Visit::Done;
        return true;
    }

    id child(const Shape& shape, std::uint64_t index) const {
        return states_[*list_.reference(shape, index)].built.get();
    }

    // Strings and containers are made outside the autorelease pool: the read holds them
    // and hands out only the root.
    objc::Ref<objc::Object> buildContainer(const Shape& shape, PropertyListMutability mutability) {
        if (!shape.dictionary) {
            std::vector<objc::Ref<objc::Object>> objects;
            objects.reserve(shape.count);
            for (std::uint64_t i = 0; i < shape.count; ++i)
                objects.emplace_back(child(shape, i));
            return NSArray::makeOwned(std::move(objects));
        }
        // The keys, then the values.
        std::vector<NSDictionary::Entry> entries;
        entries.reserve(shape.count);
        for (std::uint64_t i = 0; i < shape.count; ++i)
            entries.emplace_back(child(shape, i), child(shape, shape.count + i));
        return dictionaryFromEntries(std::move(entries), mutability);
    }

    static objc::Ref<objc::Object> buildScalar(const Shape& shape, const unsigned char* at) {
        switch (shape.type) {
        case 0x0:
            return NSNumber::numberWithBool(shape.info == 0x9);
        case 0x1: {
            // 1, 2 and 4 bytes are unsigned, 8 bytes signed; of 16 the low 8 count.
            std::size_t size = std::size_t{1} << shape.info;
            std::uint64_t value =
                readBigEndian(at + (size > 8 ? size - 8 : 0), std::min<std::size_t>(size, 8));
            return NSNumber::numberWithLongLong(static_cast<long long>(value));
        }
        case 0x2: {
            std::uint64_t raw = readBigEndian(at, std::size_t{1} << shape.info);
            if (shape.info == 2) {
                float value;
                std::uint32_t narrow = static_cast<std::uint32_t>(raw);
                std::memcpy(&value, &narrow, sizeof value);
                return NSNumber::numberWithDouble(value);
            }
            double value;
            std::memcpy(&value, &raw, sizeof value);
            return NSNumber::numberWithDouble(value);
        }
        case 0x3: {
            std::uint64_t raw = readBigEndian(at, 8);
            double seconds;
            std::memcpy(&seconds, &raw, sizeof seconds);
            return NSDate::make(seconds);
        }
        case 0x4:
            return NSData::make(std::string_view(reinterpret_cast<const char*>(at), shape.count));
        case 0x5:
            return NSString::makeOwned(std::string_view(reinterpret_cast<const char*>(at), shape.count));
        case 0x6:
            return NSString::makeOwned(utf8FromUtf16(at, shape.count));
        case 0x8:
            // A keyed archiver's reference: read as the dictionary its XML form spells.
            return NSDictionary::make(
                {{NSString::make("CF$UID"),
                  NSNumber::numberWithLongLong(static_cast<long long>(readBigEndian(at, shape.info + 1)))}});
        default: // only containers remain, and they are built elsewhere
            return nullptr;
        }
    }

    objc::Ref<objc::Object> buildScalar(const Shape& shape) const {
        return buildScalar(shape, list_.bytes() + shape.at);
    }

    const BinaryList& list_;
    const PropertyListLimits& limits_;
    PropertyListMutability rootMutability_;
    std::vector<ObjectState> states_; // by object number
};

} // namespace

id readBinaryPropertyList(std::string_view bytes, const PropertyListLimits& limits,
                          PropertyListMutability mutability) {
    auto list = BinaryList::open(bytes);
    if (!list)
        return nullptr;
    return Reader(*list, limits, mutability).readTop();
}
