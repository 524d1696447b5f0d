#include "Runtime.h"
#include "Autorelease.h"
#include "Exception.h"

#include <cassert>
#include <cstdio>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace objc {

void raise(std::string name, std::string reason) {
    throw Exception(std::move(name), std::move(reason));
}

namespace {

// The process-wide tables. They are never destroyed: classes and selectors live as long
// as the process, and objects released while it exits may still look at them.
struct Tables {
    std::unordered_map<std::string, std::unique_ptr<Selector>> selectors;
    std::unordered_map<std::string, objc_class*> classes;
    std::uint64_t generation = 0;
    RuntimeObserver observer;
    std::vector<Ref<Object>> pool;
};

Tables& tables() {
    static Tables* instance = new Tables;
    return *instance;
}

const Method* findMethod(Class cls, SEL sel) {
    for (Class c = cls; c; c = c->superclass) {
        auto it = c->methods.find(sel);
        if (it != c->methods.end())
            return &it->second;
    }
    return nullptr;
}

// "-[UIView frob]" or "+[VDManager frob]", as the runtime names a method in its messages.
std::string methodName(id receiver, SEL sel) {
    bool isClass = receiver->isa()->isMeta;
    const std::string& className = isClass ? static_cast<objc_class*>(receiver)->name : receiver->isa()->name;
    return std::string(isClass ? "+[" : "-[") + className + " " + sel->name + "]";
}

std::string address(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

} // namespace

Object::Object(objc_class* isa) : isa_(isa) {
    if (isa && !isa->isMeta)
        ivarSlots_.resize(isa->ivarCount);
}

Object::~Object() = default;

void Object::retain() const {
    ++retainCount_;
}

void Object::release() const {
    assert(retainCount_ > 0 && "over-release");
    if (--retainCount_ == 0)
        delete this;
}

Object* Object::ivarSlot(std::size_t index) const {
    return index < ivarSlots_.size() ? ivarSlots_[index].get() : nullptr;
}

void Object::setIvarSlot(std::size_t index, Object* value) {
    if (index < ivarSlots_.size())
        ivarSlots_[index] = value;
}

objc_class::objc_class(objc_class* metaclass, std::string name, objc_class* superclass, bool isMeta)
    : Object(metaclass), name(std::move(name)), superclass(superclass), isMeta(isMeta) {
    // Classes live as long as the process.
    retain();
}

bool sameSignature(std::string_view declared, std::string_view expected) {
    auto strip = [](std::string_view types) {
        std::string out;
        for (char c : types)
            if (c < '0' || c > '9')
                out += c;
        return out;
    };
    return strip(declared) == strip(expected);
}

bool isKindOfClass(const Object* object, Class cls) {
    if (!object || !cls)
        return false;
    for (Class c = object->isa(); c; c = c->superclass)
        if (c == cls)
            return true;
    return false;
}

const Method& resolveSend(id receiver, Class start, SEL sel, const std::string& expectedTypes) {
    const Method* method = findMethod(start, sel);
    if (!method)
        raise(NSInvalidArgumentException, methodName(receiver, sel) + ": unrecognized selector sent to " +
                                              (receiver->isa()->isMeta ? "class " : "instance ") +
                                              address(receiver));
    if (!sameSignature(method->types, expectedTypes))
        raise(NSInvalidArgumentException, methodName(receiver, sel) + ": sent with signature '" +
                                              expectedTypes + "' to a method of type '" + method->types +
                                              "'");
    return *method;
}

void setRuntimeObserver(RuntimeObserver observer) {
    tables().observer = std::move(observer);
}
std::uint64_t classGeneration() {
    return tables().generation;
}

id autorelease(id object) {
    if (object)
        tables().pool.emplace_back(object);
    return object;
}

AutoreleasePool::AutoreleasePool() : mark_(tables().pool.size()) {}

AutoreleasePool::~AutoreleasePool() {
    auto& pool = tables().pool;
    // Releasing may autorelease more objects; drain until the pool is back at its mark.
    while (pool.size() > mark_) {
        std::vector<Ref<Object>> drained(
            std::make_move_iterator(pool.begin() + static_cast<std::ptrdiff_t>(mark_)),
            std::make_move_iterator(pool.end()));
        pool.resize(mark_);
        drained.clear();
    }
}

} // namespace objc

using namespace objc;

SEL sel_registerName(std::string_view name) {
    auto& selectors = tables().selectors;
    auto it = selectors.find(std::string(name));
    if (it != selectors.end())
        return it->second.get();
    auto selector = std::make_unique<Selector>(Selector{std::string(name)});
    SEL sel = selector.get();
    selectors.emplace(std::string(name), std::move(selector));
    return sel;
}

const char* sel_getName(SEL sel) {
    return sel ? sel->name.c_str() : "<null selector>";
}

Class objc_getClass(const char* name) {
    if (!name)
        return nullptr;
    auto& classes = tables().classes;
    auto it = classes.find(name);
    return it != classes.end() && it->second->registered ? it->second : nullptr;
}

Class objc_allocateClassPair(Class superclass, const char* name, std::size_t) {
    if (!name || tables().classes.count(name))
        return nullptr;
    Class superMeta = superclass ? superclass->isa() : nullptr;
    auto* meta = new objc_class(nullptr, name, superMeta, true);
    auto* cls = new objc_class(meta, name, superclass, false);
    // A root class's metaclass inherits from the root class, so class objects answer
    // the root's instance methods, as in Objective-C.
    if (!superclass)
        meta->superclass = cls;
    if (superclass) {
        cls->factory = superclass->factory;
        cls->ivarCount = superclass->ivarCount;
    }
    tables().classes.emplace(name, cls);
    return cls;
}

void objc_registerClassPair(Class cls) {
    if (!cls || cls->registered)
        return;
    cls->registered = true;
    cls->generation = ++tables().generation;
}

Class object_getClass(id object) {
    return object ? object->isa() : nullptr;
}
const char* class_getName(Class cls) {
    return cls ? cls->name.c_str() : "nil";
}
Class class_getSuperclass(Class cls) {
    return cls ? cls->superclass : nullptr;
}
bool class_isMetaClass(Class cls) {
    return cls && cls->isMeta;
}

BOOL class_addMethod(Class cls, SEL name, IMP imp, const char* types) {
    bool added = false;
    if (cls && name && imp && !cls->methods.count(name)) {
        auto [it, inserted] = cls->methods.emplace(name, Method{name, imp, types ? types : ""});
        cls->methodOrder.push_back(&it->second);
        added = inserted;
    }
    if (tables().observer.addMethod)
        tables().observer.addMethod(cls, name, types, added);
    return added;
}

const Method* class_getInstanceMethod(Class cls, SEL name) {
    return cls ? findMethod(cls, name) : nullptr;
}

IMP class_getMethodImplementation(Class cls, SEL name) {
    const Method* method = class_getInstanceMethod(cls, name);
    return method ? method->imp : nullptr;
}

IMP method_setImplementation(Method* method, IMP imp) {
    if (!method || !imp)
        return nullptr;
    return std::exchange(method->imp, imp);
}

BOOL class_respondsToSelector(Class cls, SEL name) {
    return class_getInstanceMethod(cls, name) != nullptr;
}

BOOL class_addIvar(Class cls, const char* name, std::size_t, std::uint8_t, const char* types) {
    // Instance variables can only be declared before the class is registered, and only
    // objects are modelled.
    if (!cls || cls->registered || cls->isMeta || !name || !types || std::string_view(types) != "@")
        return NO;
    for (Class c = cls; c; c = c->superclass)
        for (const auto& ivar : c->ivars)
            if (ivar.name == name)
                return NO;
    cls->ivars.push_back(Ivar_{name, types, cls->ivarCount++});
    return YES;
}

Ivar class_getInstanceVariable(Class cls, const char* name) {
    for (Class c = cls; c && name; c = c->superclass)
        for (const auto& ivar : c->ivars)
            if (ivar.name == name)
                return &ivar;
    return nullptr;
}

id object_getIvar(id object, Ivar ivar) {
    return object && ivar ? object->ivarSlot(ivar->index) : nullptr;
}

void object_setIvar(id object, Ivar ivar, id value) {
    if (object && ivar)
        object->setIvarSlot(ivar->index, value);
}

id class_createInstance(Class cls, std::size_t) {
    if (!cls || cls->isMeta)
        return nullptr;
    return cls->factory ? cls->factory(cls) : new Object(cls);
}

namespace {
std::mutex& propertyLock(const void* object, Ivar ivar) {
    static std::mutex locks[8];
    auto key = reinterpret_cast<std::uintptr_t>(object) ^ (ivar ? ivar->index * 0x9e3779b97f4a7c15ULL : 0);
    return locks[(key >> 4) % 8];
}
} // namespace

id objc_getProperty(id self, SEL, Ivar ivar, bool atomic) {
    if (!self || !ivar)
        return nullptr;
    if (!atomic)
        return object_getIvar(self, ivar);
    Ref<Object> value;
    {
        std::lock_guard lock(propertyLock(self, ivar));
        value = object_getIvar(self, ivar);
    }
    return autorelease(value.get());
}

void objc_setProperty(id self, SEL, Ivar ivar, id value, bool atomic) {
    if (!self || !ivar)
        return;
    Ref<Object> old = object_getIvar(self, ivar);
    if (!atomic) {
        object_setIvar(self, ivar, value);
        return;
    }
    std::lock_guard lock(propertyLock(self, ivar));
    object_setIvar(self, ivar, value);
}

void objc_storeStrong(id* location, id value) {
    if (!location)
        return;
    if (value)
        value->retain();
    id old = *location;
    *location = value;
    if (old)
        old->release();
}
