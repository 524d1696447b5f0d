#include "sim/report/PropertyListJson.h"
#include "sim/flow/Base64.h"

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

namespace sim {

Json jsonFromPropertyList(id object) {
    if (auto* string = objc::dynCast<NSString>(object))
        return string->utf8();
    if (auto* number = objc::dynCast<NSNumber>(object)) {
        switch (number->kind()) {
        case NSNumber::Kind::Boolean:
            return number->boolValue();
        case NSNumber::Kind::Integer:
            return number->longLongValue();
        case NSNumber::Kind::Real:
            return number->doubleValue();
        }
    }
    if (auto* data = objc::dynCast<NSData>(object))
        return encodeBase64(data->bytes());
    if (auto* date = objc::dynCast<NSDate>(object))
        return date->timeIntervalSinceReferenceDate();
    if (auto* dictionary = objc::dynCast<NSDictionary>(object)) {
        Json json = Json::object();
        for (const auto& [key, value] : *dictionary)
            json[describe(key.get())] = jsonFromPropertyList(value.get());
        return json;
    }
    if (auto* array = objc::dynCast<NSArray>(object)) {
        Json json = Json::array();
        for (const auto& element : *array)
            json.push_back(jsonFromPropertyList(element.get()));
        return json;
    }
    return nullptr;
}

} // namespace sim
