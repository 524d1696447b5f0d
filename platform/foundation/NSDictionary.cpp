#include "NSDictionary.h"
#include "NSString.h"
#include "PropertyList.h"

#include "objc/Exception.h"

NSDictionary* NSDictionary::make(std::vector<Entry> entries) {
    return static_cast<NSDictionary*>(objc::autorelease(makeOwned(std::move(entries)).get()));
}

objc::Ref<NSDictionary> NSDictionary::makeOwned(std::vector<Entry> entries) {
    auto dictionary = objc::makeOwned<NSDictionary>(staticClass());
    dictionary->entries_ = std::move(entries);
    return dictionary;
}

id NSDictionary::objectForKey(id key) const {
    // A string, the usual key, equals a key by its text alone: compared without a
    // message per entry.
    if (auto* string = objc::dynCast<NSString>(key))
        return objectForKey(string->utf8());
    auto* wanted = objc::dynCast<NSObject>(key);
    if (!wanted)
        return nullptr;
    for (const auto& [k, v] : entries_)
        if (wanted->isEqual(objc::dynCast<NSObject>(k.get())))
            return v.get();
    return nullptr;
}

id NSDictionary::objectForKey(std::string_view key) const {
    for (const auto& [k, v] : entries_)
        if (auto* string = objc::dynCast<NSString>(k.get()); string && string->utf8() == key)
            return v.get();
    return nullptr;
}

bool NSDictionary::isEqual(const NSObject* other) const {
    auto* dictionary = objc::dynCast<NSDictionary>(const_cast<NSObject*>(other));
    if (!dictionary || dictionary->count() != count())
        return false;
    for (const auto& [k, v] : entries_) {
        auto* mine = objc::dynCast<NSObject>(v.get());
        if (!mine || !mine->isEqual(objc::dynCast<NSObject>(dictionary->objectForKey(k.get()))))
            return false;
    }
    return true;
}

Class NSDictionary::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSDictionary>("NSDictionary", NSObject::staticClass());
        objc::addMethod(
            c, "objectForKey:", +[](id self, SEL, id key) -> id {
                return static_cast<NSDictionary*>(self)->objectForKey(key);
            });
        objc::addMethod(
            c, "count",
            +[](id self, SEL) -> unsigned long { return static_cast<NSDictionary*>(self)->count(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

NSMutableDictionary* NSMutableDictionary::make(std::vector<Entry> entries) {
    return static_cast<NSMutableDictionary*>(objc::autorelease(makeOwned(std::move(entries)).get()));
}

objc::Ref<NSMutableDictionary> NSMutableDictionary::makeOwned(std::vector<Entry> entries) {
    auto dictionary = objc::makeOwned<NSMutableDictionary>(staticClass());
    dictionary->entries_ = std::move(entries);
    return dictionary;
}

void NSMutableDictionary::setObjectForKey(id object, id key) {
    if (!object || !key)
        objc::raise(objc::NSInvalidArgumentException,
                    "*** -[__NSDictionaryM setObject:forKey:]: object or key cannot be nil");
    auto* wanted = objc::dynCast<NSObject>(key);
    for (auto& [k, v] : entries_)
        if (wanted && wanted->isEqual(objc::dynCast<NSObject>(k.get()))) {
            v = object;
            return;
        }
    entries_.emplace_back(key, object);
}

NSMutableDictionary* NSMutableDictionary::dictionaryWithContentsOfFile(std::string_view devicePath) {
    return objc::dynCast<NSMutableDictionary>(
        propertyListWithContentsOfFile(devicePath, {}, PropertyListMutability::MutableRoot));
}

namespace {

// What +[NSMutableDictionary alloc] answers, as Foundation's class clusters do: one
// shared placeholder whose init methods make the real dictionary. So reading a file
// into a dictionary does not first make an empty one only to drop it.
id placeholderDictionary() {
    static id placeholder = [] {
        Class c = objc_allocateClassPair(NSMutableDictionary::staticClass(), "__NSPlaceholderDictionary", 0);
        objc::addMethod(
            c, "init", +[](id, SEL) -> id { return objc_retain(NSMutableDictionary::make()); });
        objc::addMethod(
            c, "setObject:forKey:", +[](id, SEL, id, id) {
                objc::raise(objc::NSInvalidArgumentException,
                            "*** -[__NSPlaceholderDictionary setObject:forKey:]: method only defined for "
                            "abstract class.");
            });
        objc_registerClassPair(c);
        id object = class_createInstance(c, 0);
        object->retain(); // kept for the life of the process
        return object;
    }();
    return placeholder;
}

} // namespace

Class NSMutableDictionary::staticClass() {
    static Class cls = [] {
        Class c =
            objc::defineNativeClass<NSMutableDictionary>("NSMutableDictionary", NSDictionary::staticClass());
        objc::addMethod(
            c, "setObject:forKey:", +[](id self, SEL, id object, id key) {
                static_cast<NSMutableDictionary*>(self)->setObjectForKey(object, key);
            });
        objc::addClassMethod(
            c, "alloc", +[](id self, SEL sel) -> id {
                // A subclass of the programmer's own allocates as any class does.
                if (self != NSMutableDictionary::staticClass())
                    return objc::sendFrom<id>(self, object_getClass(NSDictionary::staticClass()), sel);
                return placeholderDictionary();
            });
        // -initWithContentsOfFile: answers a new dictionary filled from the file, owned by
        // the caller, or nil, as Foundation's does.
        objc::addMethod(
            c, "initWithContentsOfFile:", +[](id, SEL, id path) -> id {
                return objc_retain(NSMutableDictionary::dictionaryWithContentsOfFile(utf8Of(path)));
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
