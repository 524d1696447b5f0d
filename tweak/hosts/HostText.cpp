#include "HostText.h"

#include "objc/Message.h"

using objc::send;

id hostTextByChain(id object, std::initializer_list<const char*> properties) {
    for (const char* property : properties) {
        SEL getter = sel_registerName(property);
        if (!send<bool>(object, "respondsToSelector:", getter))
            return nullptr;
        // A getter answers an object; a scalar property is not a text either.
        const auto* method = class_getInstanceMethod(object->isa(), getter);
        if (!method || !objc::sameSignature(method->types, "@@:"))
            return nullptr;
        object = send<id>(object, getter);
    }
    if (!send<bool>(object, "isKindOfClass:", objc_getClass("NSString")))
        return nullptr;
    return object;
}
