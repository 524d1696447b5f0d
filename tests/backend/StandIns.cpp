#include "StandIns.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// What the GCC runtime has beyond the backend's own declarations.
extern "C" {
id class_createInstance(Class cls, size_t extraBytes);
id object_dispose(id object);
IMP method_getImplementation(Method method);
IMP class_replaceMethod(Class cls, SEL name, IMP imp, const char* types);
[[noreturn]] void objc_exception_throw(id exception);
}

namespace {

ptrdiff_t retainCountOffset, utf8Offset, nameOffset;

template <class T> T& field(id object, ptrdiff_t offset) {
    return *reinterpret_cast<T*>(reinterpret_cast<char*>(object) + offset);
}

// Objects autoreleased so far, and where each open pool's began.
std::vector<id> autoreleased;
std::vector<size_t> poolStarts;
int mispaired = 0;

id alloc(id cls, SEL) {
    id object = class_createInstance(reinterpret_cast<Class>(cls), 0);
    field<long>(object, retainCountOffset) = 1;
    return object;
}
id answerSelf(id self, SEL) {
    return self;
}
id retain(id self, SEL) {
    ++field<long>(self, retainCountOffset);
    return self;
}
void release(id self, SEL) {
    if (--field<long>(self, retainCountOffset) == 0)
        objc::send(self, "dealloc");
}
id autorelease(id self, SEL) {
    if (poolStarts.empty()) {
        std::fprintf(stderr, "autorelease with no pool in place\n");
        std::abort();
    }
    autoreleased.push_back(self);
    return self;
}
void dispose(id self, SEL) {
    object_dispose(self);
}

id stringWithUTF8String(id cls, SEL, const char* utf8) {
    id string = alloc(cls, nullptr);
    field<char*>(string, utf8Offset) = strdup(utf8);
    return autorelease(string, nullptr);
}
const char* utf8String(id self, SEL) {
    return field<char*>(self, utf8Offset);
}
void deallocString(id self, SEL) {
    std::free(field<char*>(self, utf8Offset));
    objc::sendSuper(self, objc_getClass("NSString"), "dealloc");
}

id exceptionWithName(id cls, SEL, id name, id, id) {
    id exception = alloc(cls, nullptr);
    field<id>(exception, nameOffset) = objc::send<id>(name, "retain");
    return autorelease(exception, nullptr);
}
id exceptionName(id self, SEL) {
    return field<id>(self, nameOffset);
}
void deallocException(id self, SEL) {
    objc::send(field<id>(self, nameOffset), "release");
    objc::sendSuper(self, objc_getClass("NSException"), "dealloc");
}

ptrdiff_t offsetOf(Class cls, const char* ivar) {
    return ivar_getOffset(class_getInstanceVariable(cls, ivar));
}

Class subclass(Class superclass, const char* name, const char* ivar, const char* ivarType) {
    Class cls = objc_allocateClassPair(superclass, name, 0);
    class_addIvar(cls, ivar, sizeof(void*), 3, ivarType);
    return cls;
}

// A root class carries its own isa, as the first instance variable.
[[gnu::constructor]] void registerFoundation() {
    Class object = objc_allocateClassPair(nullptr, "NSObject", 0);
    class_addIvar(object, "isa", sizeof(Class), 3, "#");
    class_addIvar(object, "_retainCount", sizeof(long), 3, "q");
    objc::addClassMethod(object, "alloc", alloc);
    objc::addClassMethod(object, "class", answerSelf);
    objc::addMethod(object, "init", answerSelf);
    objc::addMethod(object, "retain", retain);
    objc::addMethod(object, "release", release);
    objc::addMethod(object, "autorelease", autorelease);
    objc::addMethod(object, "dealloc", dispose);
    objc_registerClassPair(object);
    retainCountOffset = offsetOf(object, "_retainCount");

    Class string = subclass(object, "NSString", "_utf8", "*");
    class_addMethod(object_getClass(string), sel_registerName("stringWithUTF8String:"),
                    reinterpret_cast<IMP>(stringWithUTF8String), "@@:r*");
    class_addMethod(string, sel_registerName("UTF8String"), reinterpret_cast<IMP>(utf8String), "r*@:");
    objc::addMethod(string, "dealloc", deallocString);
    objc_registerClassPair(string);
    utf8Offset = offsetOf(string, "_utf8");

    Class exception = subclass(object, "NSException", "_name", "@");
    objc::addClassMethod(exception, "exceptionWithName:reason:userInfo:", exceptionWithName);
    objc::addMethod(exception, "name", exceptionName);
    objc::addMethod(exception, "dealloc", deallocException);
    objc_registerClassPair(exception);
    nameOffset = offsetOf(exception, "_name");
}

} // namespace

extern "C" {

// The isa of every block that captures nothing; blocks here are only ever invoked.
void* _NSConcreteGlobalBlock[32];

// GCC's runtime drops copies it makes while registering classes and modules (a method's
// name once its selector is registered, for one), before any test runs and out of our reach.
const char* __lsan_default_suppressions() {
    return "leak:libobjc.so\n";
}

// GCC's runtime has this only as an inline of its header: an object's first word is its class.
Class object_getClass(id object) {
    return object ? *reinterpret_cast<Class*>(object) : nullptr;
}

void* objc_autoreleasePoolPush() {
    poolStarts.push_back(autoreleased.size());
    return reinterpret_cast<void*>(poolStarts.size());
}

void objc_autoreleasePoolPop(void* token) {
    if (poolStarts.empty() || token != reinterpret_cast<void*>(poolStarts.size())) {
        ++mispaired;
        return;
    }
    size_t start = poolStarts.back();
    poolStarts.pop_back();
    while (autoreleased.size() > start) {
        id object = autoreleased.back();
        autoreleased.pop_back();
        release(object, nullptr);
    }
}

void objc_storeStrong(id* location, id value) {
    id previous = *location;
    if (previous == value)
        return;
    objc::send(value, "retain");
    *location = value;
    objc::send(previous, "release");
}

// Replaces the method that instances of `cls` run, own or inherited, and hands back the
// one they ran before.
void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* previous) {
    Method method = cls ? class_getInstanceMethod(cls, sel) : nullptr;
    if (!method)
        return;
    IMP before = method_getImplementation(method);
    class_replaceMethod(cls, sel, replacement, method_getTypeEncoding(method));
    if (previous)
        *previous = before;
}

id NSHomeDirectory() {
    const char* home = std::getenv("HOME");
    return objc::string(home ? home : "/");
}
}

namespace standins {

long retainCount(id object) {
    return field<long>(object, retainCountOffset);
}
int poolDepth() {
    return static_cast<int>(poolStarts.size());
}
int mispairedPops() {
    return mispaired;
}
const char* text(id string) {
    return objc::send<const char*>(string, "UTF8String");
}

void raise(const char* name) {
    objc_exception_throw(objc::send<id>(objc_getClass("NSException"),
                                        "exceptionWithName:reason:userInfo:", objc::string(name),
                                        static_cast<id>(nullptr), static_cast<id>(nullptr)));
}

} // namespace standins
