#include "HostText.h"

#include "objc/Message.h"

using objc::send;

namespace {

id followProperty(id object, const char* property) {
    SEL getter = sel_registerName(property);
    if (!send<bool>(object, "respondsToSelector:", getter))
        return nullptr;
    // A getter answers an object; a scalar property is not a text either.
    const auto* method = class_getInstanceMethod(object->isa(), getter);
    if (!method || !objc::sameSignature(method->types, "@@:"))
        return nullptr;
    return send<id>(object, getter);
}

// objectAtIndex: past the end raises on iOS: the count is asked first.
id followElement(id object, std::size_t index) {
    if (!send<bool>(object, "isKindOfClass:", objc_getClass("NSArray")))
        return nullptr;
    if (index >= send<unsigned long>(object, "count"))
        return nullptr;
    return send<id>(object, "objectAtIndex:", static_cast<unsigned long>(index));
}

} // namespace

id hostTextByChain(id object, std::initializer_list<TextLink> links) {
    for (const TextLink& link : links) {
        if (!object)
            return nullptr;
        object = link.property ? followProperty(object, link.property) : followElement(object, link.index);
    }
    if (!send<bool>(object, "isKindOfClass:", objc_getClass("NSString")))
        return nullptr;
    return object;
}

id hostTextProperty(id view) {
    return hostTextByChain(view, {"text"});
}
