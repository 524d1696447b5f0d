#include "NSObject.h"
#include "NSNumber.h"
#include "NSString.h"

#include <cstdio>

using objc::send;

std::string NSObject::description() const {
    char text[64];
    std::snprintf(text, sizeof text, "<%s: %p>", isa()->name.c_str(), static_cast<const void*>(this));
    return text;
}

std::string describe(id object) {
    if (!object)
        return "(null)";
    if (auto* native = objc::dynCast<NSObject>(object))
        return native->description();
    return "<" + object->isa()->name + ">";
}

namespace {

// Boxes the answer of a scalar accessor, as key-value coding does.
id boxedAccessorValue(id object, SEL sel, const std::string& types) {
    switch (types.empty() ? '?' : types[0]) {
    case '@':
        return send<id>(object, sel);
    case 'B':
        return NSNumber::numberWithBool(send<bool>(object, sel));
    case 'q':
        return NSNumber::numberWithLongLong(send<long>(object, sel));
    case 'Q':
        return NSNumber::numberWithLongLong(static_cast<long long>(send<unsigned long>(object, sel)));
    case 'i':
        return NSNumber::numberWithLongLong(send<int>(object, sel));
    case 'd':
        return NSNumber::numberWithDouble(send<double>(object, sel));
    case 'f':
        return NSNumber::numberWithDouble(send<float>(object, sel));
    default:
        return nullptr;
    }
}

} // namespace

id NSObject::valueForKey(id object, const std::string& key) {
    if (!object)
        return nullptr;
    SEL getter = sel_registerName(key);
    if (const auto* method = class_getInstanceMethod(object->isa(), getter)) {
        std::string types = method->types;
        // An accessor takes no argument besides the receiver and the selector.
        if (objc::sameSignature(types.substr(0, 1) + "@:", types))
            return boxedAccessorValue(object, getter, types);
    }
    for (const std::string& name : {"_" + key, key})
        if (Ivar ivar = class_getInstanceVariable(object->isa(), name.c_str()))
            return object_getIvar(object, ivar);
    objc::raise(objc::NSUnknownKeyException, "[<" + object->isa()->name +
                                                 "> valueForUndefinedKey:]: this class is not key value "
                                                 "coding-compliant for the key " +
                                                 key + ".");
}

Class NSObject::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSObject>("NSObject", nullptr);
        // The caller owns what +alloc and +new answer.
        objc::addClassMethod(
            c, "alloc", +[](id self, SEL) -> id {
                return objc_retain(class_createInstance(static_cast<Class>(self), 0));
            });
        objc::addClassMethod(
            c, "new", +[](id self, SEL) -> id {
                return send<id>(objc_retain(class_createInstance(static_cast<Class>(self), 0)), "init");
            });
        objc::addMethod(
            c, "retain", +[](id self, SEL) -> id { return objc_retain(self); });
        objc::addMethod(
            c, "release", +[](id self, SEL) { objc_release(self); });
        objc::addMethod(
            c, "autorelease", +[](id self, SEL) -> id { return objc_autorelease(self); });
        objc::addClassMethod(
            c, "class", +[](id self, SEL) -> Class { return static_cast<Class>(self); });
        objc::addMethod(
            c, "init", +[](id self, SEL) -> id { return self; });
        objc::addMethod(
            c, "class", +[](id self, SEL) -> Class { return self->isa(); });
        objc::addMethod(
            c, "isKindOfClass:", +[](id self, SEL, Class cls) -> bool {
                return objc::isKindOfClass(self, cls);
            });
        objc::addMethod(
            c, "respondsToSelector:", +[](id self, SEL, SEL sel) -> bool {
                return class_respondsToSelector(self->isa(), sel);
            });
        objc::addMethod(
            c, "isEqual:", +[](id self, SEL, id other) -> bool {
                auto* native = objc::dynCast<NSObject>(self);
                return native ? native->isEqual(objc::dynCast<NSObject>(other)) : self == other;
            });
        objc::addMethod(
            c, "hash", +[](id self, SEL) -> unsigned long {
                auto* native = objc::dynCast<NSObject>(self);
                return native ? native->hash() : reinterpret_cast<unsigned long>(self);
            });
        objc::addMethod(
            c, "description", +[](id self, SEL) -> id { return NSString::make(describe(self)); });
        objc::addMethod(
            c, "valueForKey:", +[](id self, SEL, id key) -> id { return valueForKey(self, describe(key)); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
