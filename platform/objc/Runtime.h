#pragma once

// The runtime's C interface, named as <objc/runtime.h> names it.

#include "Class.h"
#include "Encoding.h"

#include <functional>
#include <string_view>

Class objc_getClass(const char* name);
Class objc_allocateClassPair(Class superclass, const char* name, std::size_t extraBytes);
void objc_registerClassPair(Class cls);
Class object_getClass(id object);
const char* class_getName(Class cls);
const char* object_getClassName(id object);
Class class_getSuperclass(Class cls);
bool class_isMetaClass(Class cls);

// Adds an instance method; NO (and nothing changes) for a nil class or when the class
// itself already has the selector. An inherited method may be overridden.
BOOL class_addMethod(Class cls, SEL name, IMP imp, const char* types);
// The method that instances of the class run for the selector, own or inherited.
const objc::Method* class_getInstanceMethod(Class cls, SEL name);
IMP class_getMethodImplementation(Class cls, SEL name);
IMP method_setImplementation(objc::Method* method, IMP imp);
BOOL class_respondsToSelector(Class cls, SEL name);
const char* method_getTypeEncoding(const objc::Method* method);
// Declares an instance variable before the class is registered. The alignment is log2 of
// its bytes, as on iOS: 3 for an object. One above 16 bytes, which no variable needs (an
// 8 asks for 256), is refused rather than laid out.
BOOL class_addIvar(Class cls, const char* name, std::size_t size, std::uint8_t log2Alignment,
                   const char* types);
Ivar class_getInstanceVariable(Class cls, const char* name);
id object_getIvar(id object, Ivar ivar);
void object_setIvar(id object, Ivar ivar, id value);
id class_createInstance(Class cls, std::size_t extraBytes);
// Where the variable lies in an instance: after the isa, one pointer per variable.
std::ptrdiff_t ivar_getOffset(Ivar ivar);

// The accessors of an object property over an instance variable, found by its offset
// (ivar_getOffset) as compiled accessors find it. An atomic read takes the value retained
// and autoreleased, and an atomic write swaps it, under a lock chosen by the variable's
// address, so a reader never sees a released value. An offset at which the object has no
// variable would read or write some other memory on a device; here it raises. Copying
// setters are not modelled and raise too.
id objc_getProperty(id self, SEL _cmd, std::ptrdiff_t offset, BOOL atomic);
void objc_setProperty(id self, SEL _cmd, std::ptrdiff_t offset, id value, BOOL atomic,
                      signed char shouldCopy);

// Strong assignment to a variable that holds its own reference (a global, say).
void objc_storeStrong(id* location, id value);

// Reference counting as -retain, -release and -autorelease do it. +alloc, +new and
// -init… answer an object the caller owns, as on iOS: its code releases it, or hands it
// to the pool with objc_autorelease; a caller that does neither leaks it.
id objc_retain(id object);
void objc_release(id object);
id objc_autorelease(id object);

namespace objc {

// Kind test along the superclass chain, as -isKindOfClass:.
bool isKindOfClass(const Object* object, Class cls);

// The method a send of `sel` to `receiver` runs, starting the search at `start`
// (the receiver's class, or a superclass for a send to super). Raises the runtime's
// "unrecognized selector" exception when nobody implements it, and refuses a send whose
// C++ signature differs from the method's type encoding.
// `expectedTypes` lives as long as the process (one string per send signature): the
// method cache remembers it by address.
const Method& resolveSend(id receiver, Class start, SEL sel, const std::string& expectedTypes);

// Empties the method caches of every thread: for code that changes a method table
// other than through class_addMethod (the loader's hooks).
void flushMethodCaches();

// Observer of calls that change classes; the platform's instruments record them.
struct RuntimeObserver {
    std::function<void(Class cls, SEL sel, const char* types, bool added)> addMethod;
};
void setRuntimeObserver(RuntimeObserver observer);

// The process-wide count of registered classes: a class whose generation is below a
// mark taken at some moment existed at that moment.
std::uint64_t classGeneration();

} // namespace objc
