#pragma once

// Classes that tests declare at run time, as a host or the library does. The runtime is
// never reset in a process, so each test names its classes uniquely; a class declared
// already (a test run again) is answered as it is.

#include "foundation/NSObject.h"

#include <functional>

// `addMethods` gives the class its methods and instance variables before registration.
inline Class declareClass(const char* name, const std::function<void(Class)>& addMethods = {},
                          Class superclass = NSObject::staticClass()) {
    if (Class existing = objc_getClass(name))
        return existing;
    Class cls = objc_allocateClassPair(superclass, name, 0);
    if (addMethods)
        addMethods(cls);
    objc_registerClassPair(cls);
    return cls;
}
