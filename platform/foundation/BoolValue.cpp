#include "BoolValue.h"
#include "NSNumber.h"
#include "NSString.h"

bool plistBoolValue(id value) {
    if (!objc::dynCast<NSNumber>(value) && !objc::dynCast<NSString>(value))
        return false;
    return objc::send<bool>(value, "boolValue");
}
