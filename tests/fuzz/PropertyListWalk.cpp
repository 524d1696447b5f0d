#include "PropertyListWalk.h"

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

std::size_t walkPropertyList(id object) {
    if (!object)
        return 0;
    std::size_t seen = 1;
    if (auto* dictionary = objc::dynCast<NSDictionary>(object)) {
        for (const auto& [key, value] : *dictionary)
            seen += walkPropertyList(key.get()) + walkPropertyList(value.get());
    } else if (auto* array = objc::dynCast<NSArray>(object)) {
        for (const auto& element : *array)
            seen += walkPropertyList(element.get());
    } else if (auto* string = objc::dynCast<NSString>(object)) {
        seen += string->utf8().size();
    } else if (auto* number = objc::dynCast<NSNumber>(object)) {
        seen += number->boolValue();
    } else if (auto* data = objc::dynCast<NSData>(object)) {
        seen += data->bytes().size();
    }
    return seen;
}
