#include "HostText.h"

#include "Runtime.h"

using objc::send;

namespace {

// "@@:", with or without the frame offsets that a compiled method's encoding carries
// ("@16@0:8").
bool isObjectGetter(const char* types) {
    const char* expected = "@@:";
    for (; *types; ++types) {
        if (*types >= '0' && *types <= '9')
            continue;
        if (*types != *expected)
            return false;
        ++expected;
    }
    return *expected == 0;
}

id followProperty(id object, const char* property) {
    SEL getter = sel_registerName(property);
    if (!send<bool>(object, "respondsToSelector:", getter))
        return nullptr;
    // A getter answers an object; a scalar property is not a text either.
    Method method = class_getInstanceMethod(object_getClass(object), getter);
    if (!method || !isObjectGetter(method_getTypeEncoding(method)))
        return nullptr;
    return send<id>(object, getter);
}

// objectAtIndex: past the end raises on iOS: the count is asked first.
id followElement(id object, size_t index) {
    if (!send<bool>(object, "isKindOfClass:", objc_getClass("NSArray")))
        return nullptr;
    if (index >= send<NSUInteger>(object, "count"))
        return nullptr;
    return send<id>(object, "objectAtIndex:", NSUInteger{index});
}

} // namespace

id followChain(id object, const TextLink* links, size_t count) {
    for (const TextLink* link = links; link != links + count; ++link) {
        if (!object)
            return nullptr;
        object = link->property ? followProperty(object, link->property) : followElement(object, link->index);
    }
    if (!send<bool>(object, "isKindOfClass:", objc_getClass("NSString")))
        return nullptr;
    return object;
}

id hostTextProperty(id view) {
    return hostTextByChain(view, {"text"});
}
