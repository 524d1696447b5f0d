#include "NSArray.h"
#include "NSData.h"
#include "NSDictionary.h"
#include "NSNumber.h"
#include "NSString.h"
#include "PropertyList.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdint>
#include <memory>

namespace {

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Plist = std::unique_ptr<void, PlistDeleter>;

// Deep enough for any settings file; a container that holds itself stops here instead of
// recursing without end.
constexpr std::size_t MaxDepth = 512;

Plist nodeFor(id object, std::size_t depth) {
    if (!object || depth > MaxDepth)
        return nullptr;
    if (auto* string = objc::dynCast<NSString>(object)) {
        // libplist takes C strings: a NUL inside would cut the text short.
        if (string->utf8().find('\0') != std::string::npos)
            return nullptr;
        return Plist(plist_new_string(string->utf8().c_str()));
    }
    if (auto* number = objc::dynCast<NSNumber>(object)) {
        switch (number->kind()) {
        case NSNumber::Kind::Boolean:
            return Plist(plist_new_bool(number->boolValue()));
        case NSNumber::Kind::Integer:
            // libplist keeps every integer as 64 bits and writes negative ones as such.
            return Plist(plist_new_uint(static_cast<std::uint64_t>(number->longLongValue())));
        case NSNumber::Kind::Real:
            return Plist(plist_new_real(number->doubleValue()));
        }
    }
    if (auto* data = objc::dynCast<NSData>(object))
        return Plist(plist_new_data(data->bytes().data(), data->bytes().size()));
    if (auto* date = objc::dynCast<NSDate>(object)) {
        double seconds = date->timeIntervalSinceReferenceDate();
        if (!std::isfinite(seconds) || seconds < INT32_MIN || seconds >= INT32_MAX)
            return nullptr;
        double whole = std::floor(seconds);
        return Plist(plist_new_date(static_cast<std::int32_t>(whole),
                                    static_cast<std::int32_t>((seconds - whole) * 1e6)));
    }
    if (auto* dictionary = objc::dynCast<NSDictionary>(object)) {
        Plist node(plist_new_dict());
        for (const auto& [key, value] : *dictionary) {
            auto* name = objc::dynCast<NSString>(key.get());
            if (!name || name->utf8().find('\0') != std::string::npos)
                return nullptr;
            Plist item = nodeFor(value.get(), depth + 1);
            if (!item)
                return nullptr;
            plist_dict_set_item(node.get(), name->utf8().c_str(), item.release());
        }
        return node;
    }
    if (auto* array = objc::dynCast<NSArray>(object)) {
        Plist node(plist_new_array());
        for (const auto& element : *array) {
            Plist item = nodeFor(element.get(), depth + 1);
            if (!item)
                return nullptr;
            plist_array_append_item(node.get(), item.release());
        }
        return node;
    }
    return nullptr;
}

} // namespace

std::string serializePropertyList(id root, PropertyListFormat format) {
    Plist node = nodeFor(root, 0);
    if (!node)
        return {};
    char* bytes = nullptr;
    std::uint32_t length = 0;
    std::string out;
    if (format == PropertyListFormat::Xml) {
        plist_to_xml(node.get(), &bytes, &length);
        if (bytes)
            out.assign(bytes, length);
        plist_to_xml_free(bytes);
    } else {
        plist_to_bin(node.get(), &bytes, &length);
        if (bytes)
            out.assign(bytes, length);
        plist_to_bin_free(bytes);
    }
    return out;
}
