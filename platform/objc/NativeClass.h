#pragma once

// Native classes: platform classes written in C++ whose instances are C++ objects. Each
// declares staticClass(), which defines the class in the runtime the first time it is
// asked (after its superclass), so a class never exists without its methods.

#include "Message.h"

#define OBJC_NATIVE_CLASS(Name)                                                                              \
public:                                                                                                      \
    static Class staticClass();                                                                              \
    explicit Name(Class isa)

namespace objc {

template <class T> Class defineNativeClass(const char* name, Class superclass) {
    Class cls = objc_allocateClassPair(superclass, name, 0);
    cls->factory = [](Class c) -> Object* { return new T(c); };
    return cls;
}

} // namespace objc
