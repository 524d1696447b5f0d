#include "Runtime.h"
#include "Autorelease.h"
#include "Exception.h"
#include "NameCache.h"

#include <array>
#include <atomic>
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

// Looked up by any string form without making a std::string of it: a message send
// looks its selector up by name.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};
template <class Value> using NameMap = std::unordered_map<std::string, Value, NameHash, std::equal_to<>>;

// The process-wide tables. They are never destroyed: classes and selectors live as long
// as the process, and objects released while it exits may still look at them.
struct Tables {
    NameMap<std::unique_ptr<Selector>> selectors;
    NameMap<objc_class*> classes;
    std::uint64_t generation = 0;
    RuntimeObserver observer;
    std::vector<Ref<Object>> pool;
};

Tables& tables() {
    static Tables* instance = new Tables;
    return *instance;
}

const Method* searchMethod(Class cls, SEL sel) {
    for (Class c = cls; c; c = c->superclass) {
        auto it = c->methods.find(sel);
        if (it != c->methods.end())
            return &it->second;
    }
    return nullptr;
}

// The method cache, as Objective-C's runtime keeps one: what a search of a class and its
// superclasses found for a selector, absence included, and the send signature last
// checked against it. Any change to a method table empties every cache by moving the
// epoch on; an implementation replaced in place changes no entry, as entries point at
// the methods. One cache per thread, so that lookups need no lock.
std::atomic<std::uint64_t> methodEpoch{1};

struct CacheEntry {
    Class cls = nullptr;
    SEL sel = nullptr;
    std::uint64_t epoch = 0;
    const Method* method = nullptr;
    // Send signatures known to match. Two, since a signature is one string per library
    // that sends it, and a host and the library may send the same message.
    std::array<const std::string*, 2> checkedTypes{};
};

CacheEntry& cacheEntry(Class cls, SEL sel) {
    constexpr std::size_t Size = 1024; // a power of two: the index is a mask
    thread_local std::array<CacheEntry, Size> entries;
    auto key = reinterpret_cast<std::uintptr_t>(cls) ^
               (reinterpret_cast<std::uintptr_t>(sel) * 0x9e3779b97f4a7c15ULL);
    CacheEntry& entry = entries[(key >> 7) & (Size - 1)];
    std::uint64_t epoch = methodEpoch.load(std::memory_order_acquire);
    if (entry.cls != cls || entry.sel != sel || entry.epoch != epoch)
        entry = {cls, sel, epoch, searchMethod(cls, sel), {}};
    return entry;
}

const Method* findMethod(Class cls, SEL sel) {
    return cacheEntry(cls, sel).method;
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
    if (isa && !isa->isMeta) {
        ivarSlots_.resize(isa->ivarCount);
        ++isa->liveInstances;
    }
}

// An object goes when its last strong reference does; one destroyed while something still
// holds it would leave that holder dangling, so debug and sanitizer builds stop there.
Object::~Object() {
    assert(retainCount_ == 0 && "destroyed while still referenced");
    if (isa_ && !isa_->isMeta)
        --isa_->liveInstances;
    if (weaklyReferenced_)
        clearWeakReferences();
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
    // Compared in place: every message send checks its signature.
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0, k = 0;
    for (;;) {
        while (i < declared.size() && isDigit(declared[i]))
            ++i;
        while (k < expected.size() && isDigit(expected[k]))
            ++k;
        if (i == declared.size() || k == expected.size())
            return i == declared.size() && k == expected.size();
        if (declared[i++] != expected[k++])
            return false;
    }
}

bool isKindOfClass(const Object* object, Class cls) {
    if (!object || !cls)
        return false;
    for (Class c = object->isa(); c; c = c->superclass)
        if (c == cls)
            return true;
    return false;
}

void flushMethodCaches() {
    methodEpoch.fetch_add(1, std::memory_order_acq_rel);
}

const Method& resolveSend(id receiver, Class start, SEL sel, const std::string& expectedTypes) {
    CacheEntry& entry = cacheEntry(start, sel);
    const Method* method = entry.method;
    // A send signature is one string for the life of the process, so a comparison of
    // addresses tells that it was checked before.
    if (method && (entry.checkedTypes[0] == &expectedTypes || entry.checkedTypes[1] == &expectedTypes))
        return *method;
    if (!method)
        raise(NSInvalidArgumentException, methodName(receiver, sel) + ": unrecognized selector sent to " +
                                              (receiver->isa()->isMeta ? "class " : "instance ") +
                                              address(receiver));
    if (!sameSignature(method->types, expectedTypes))
        raise(NSInvalidArgumentException, methodName(receiver, sel) + ": sent with signature '" +
                                              expectedTypes + "' to a method of type '" + method->types +
                                              "'");
    entry.checkedTypes = {&expectedTypes, entry.checkedTypes[0]};
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

namespace {

SEL registerInTable(std::string_view name) {
    auto& selectors = tables().selectors;
    auto it = selectors.find(name);
    if (it != selectors.end())
        return it->second.get();
    auto selector = std::make_unique<Selector>(Selector{std::string(name)});
    SEL sel = selector.get();
    selectors.emplace(std::string(name), std::move(selector));
    return sel;
}

} // namespace

SEL sel_registerName(std::string_view name) {
    thread_local NameCache<SEL> cache;
    return cache.lookup(
        name, [](SEL sel) -> std::string_view { return sel->name; }, registerInTable);
}

const char* sel_getName(SEL sel) {
    return sel ? sel->name.c_str() : "<null selector>";
}

Class objc_getClass(const char* name) {
    if (!name)
        return nullptr;
    // Only registered classes are cached: one allocated and not yet registered must be
    // looked up again until it is.
    thread_local NameCache<Class> cache;
    return cache.lookup(
        name, [](Class cls) -> std::string_view { return cls->name; },
        [](std::string_view text) -> Class {
            auto& classes = tables().classes;
            auto it = classes.find(text);
            return it != classes.end() && it->second->registered ? it->second : nullptr;
        });
}

Class objc_allocateClassPair(Class superclass, const char* name, std::size_t) {
    if (!name || tables().classes.contains(std::string_view(name)))
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
const char* object_getClassName(id object) {
    return class_getName(object_getClass(object));
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
        flushMethodCaches();
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

const char* method_getTypeEncoding(const objc::Method* method) {
    return method ? method->types.c_str() : nullptr;
}

BOOL class_addIvar(Class cls, const char* name, std::size_t size, std::uint8_t log2Alignment,
                   const char* types) {
    // Instance variables can only be declared before the class is registered, and only
    // objects are modelled.
    if (!cls || cls->registered || cls->isMeta || !name || !types || std::string_view(types) != "@")
        return NO;
    constexpr std::uint8_t LargestLog2Alignment = 4;
    if (size != sizeof(id) || log2Alignment > LargestLog2Alignment)
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
std::mutex& propertyLock(const void* object, std::size_t slot) {
    static std::mutex locks[8];
    auto key = reinterpret_cast<std::uintptr_t>(object) ^ (slot * 0x9e3779b97f4a7c15ULL);
    return locks[(key >> 4) % 8];
}
} // namespace

namespace {

constexpr std::ptrdiff_t FirstIvarOffset = sizeof(void*); // after the isa

// The slot at a property accessor's offset; raises where the object has none.
std::size_t slotAt(id self, std::ptrdiff_t offset, const char* accessor) {
    std::ptrdiff_t slot = (offset - FirstIvarOffset) / static_cast<std::ptrdiff_t>(sizeof(id));
    if (offset < FirstIvarOffset || (offset - FirstIvarOffset) % sizeof(id) != 0 ||
        static_cast<std::size_t>(slot) >= self->isa()->ivarCount)
        objc::raise(objc::NSInternalInconsistencyException, std::string(accessor) + ": " + self->isa()->name +
                                                                " has no instance variable at offset " +
                                                                std::to_string(offset));
    return static_cast<std::size_t>(slot);
}

} // namespace

std::ptrdiff_t ivar_getOffset(Ivar ivar) {
    return ivar ? FirstIvarOffset + static_cast<std::ptrdiff_t>(ivar->index * sizeof(id)) : 0;
}

id objc_getProperty(id self, SEL, std::ptrdiff_t offset, BOOL atomic) {
    if (!self)
        return nullptr;
    std::size_t slot = slotAt(self, offset, "objc_getProperty");
    if (!atomic)
        return self->ivarSlot(slot);
    Ref<Object> value;
    {
        std::lock_guard lock(propertyLock(self, slot));
        value = self->ivarSlot(slot);
    }
    return autorelease(value.get());
}

void objc_setProperty(id self, SEL, std::ptrdiff_t offset, id value, BOOL atomic, signed char shouldCopy) {
    if (!self)
        return;
    if (shouldCopy)
        objc::raise(objc::NSInvalidArgumentException, "objc_setProperty: copying setters are not modelled");
    std::size_t slot = slotAt(self, offset, "objc_setProperty");
    Ref<Object> old = self->ivarSlot(slot);
    if (!atomic) {
        self->setIvarSlot(slot, value);
        return;
    }
    std::lock_guard lock(propertyLock(self, slot));
    self->setIvarSlot(slot, value);
}

id objc_retain(id object) {
    if (object)
        object->retain();
    return object;
}

void objc_release(id object) {
    if (object)
        object->release();
}

id objc_autorelease(id object) {
    // The pool takes over the caller's reference.
    objc::autorelease(object);
    objc_release(object);
    return object;
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
