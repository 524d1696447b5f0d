#include "PropertyList.h"
#include "NSArray.h"
#include "NSData.h"
#include "NSDictionary.h"
#include "NSNumber.h"
#include "NSString.h"
#include "PropertyListBinaryCheck.h"
#include "PropertyListXmlCheck.h"

#include "device/Files.h"

#include <plist/plist.h>

#include <cstdlib>
#include <memory>
#include <unordered_map>

namespace {

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistTree = std::unique_ptr<void, PlistDeleter>;

id convert(plist_t node, std::size_t depth, const PropertyListLimits& limits);

id convertArray(plist_t node, std::size_t depth, const PropertyListLimits& limits) {
    if (depth > limits.maxDepth)
        return nullptr;
    std::vector<objc::Ref<objc::Object>> objects;
    std::uint32_t count = plist_array_get_size(node);
    objects.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        id object = convert(plist_array_get_item(node, i), depth + 1, limits);
        if (!object)
            return nullptr;
        objects.emplace_back(object);
    }
    return NSArray::make(std::move(objects));
}

id convertDictionary(plist_t node, std::size_t depth, const PropertyListLimits& limits) {
    if (depth > limits.maxDepth)
        return nullptr;
    std::vector<NSDictionary::Entry> entries;
    // A key given twice keeps its last value, as Foundation's reader does.
    std::unordered_map<std::string, std::size_t> positions;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    std::unique_ptr<void, decltype(&std::free)> iteratorOwner(iterator, &std::free);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &key, &value);
        if (!key)
            break;
        std::unique_ptr<char, decltype(&std::free)> keyOwner(key, &std::free);
        id object = value ? convert(value, depth + 1, limits) : nullptr;
        if (!object)
            return nullptr;
        auto [position, inserted] = positions.try_emplace(key, entries.size());
        if (inserted)
            entries.emplace_back(NSString::make(key), object);
        else
            entries[position->second].second = object;
    }
    return NSDictionary::make(std::move(entries));
}

// One node of libplist's tree as Foundation objects; nil for a node a property list
// cannot hold. The root is at depth 1; a container deeper than the limit is refused
// here too, so the recursion stays bounded whatever libplist built.
id convert(plist_t node, std::size_t depth, const PropertyListLimits& limits) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return NSNumber::numberWithBool(value != 0);
    }
    case PLIST_UINT: {
        // libplist keeps negative integers in two's complement.
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return NSNumber::numberWithLongLong(static_cast<long long>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return NSNumber::numberWithDouble(value);
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return NSString::make(text ? std::string_view(text, length) : std::string_view());
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return NSData::make(bytes ? std::string_view(bytes, length) : std::string_view());
    }
    case PLIST_DATE: {
        std::int32_t seconds = 0;
        std::int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return NSDate::make(seconds + microseconds / 1e6);
    }
    case PLIST_UID: {
        // A keyed archiver's reference: read as the dictionary its XML form spells.
        std::uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return NSDictionary::make(
            {{NSString::make("CF$UID"), NSNumber::numberWithLongLong(static_cast<long long>(value))}});
    }
    case PLIST_ARRAY:
        return convertArray(node, depth, limits);
    case PLIST_DICT:
        return convertDictionary(node, depth, limits);
    default:
        return nullptr;
    }
}

} // namespace

id propertyListFromBytes(std::string_view bytes, const PropertyListLimits& limits) {
    if (bytes.size() > limits.maxBytes || bytes.size() > UINT32_MAX)
        return nullptr;
    plist_t root = nullptr;
    if (bytes.starts_with("bplist")) {
        if (!binaryPropertyListWithinLimits(bytes, limits))
            return nullptr;
        plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
    } else {
        // The prepared copy also ends in the NUL that libplist's scanner may look for.
        auto xml = preparedXmlPropertyList(bytes, limits);
        if (!xml)
            return nullptr;
        plist_from_xml(xml->c_str(), static_cast<std::uint32_t>(xml->size()), &root);
    }
    PlistTree tree(root);
    return root ? convert(root, 1, limits) : nullptr;
}

id propertyListWithContentsOfFile(std::string_view devicePath, const PropertyListLimits& limits) {
    auto bytes = device::readFile(devicePath, limits.maxBytes);
    if (!bytes)
        return nullptr;
    return propertyListFromBytes(*bytes, limits);
}
