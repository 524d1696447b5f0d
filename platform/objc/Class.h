#pragma once

#include "Object.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace objc {

// One method of a class's method table.
struct Method {
    SEL selector;      // the method's name
    IMP imp;           // a plain function pointer R (*)(id self, SEL _cmd, Args...)
    std::string types; // its type encoding, e.g. "v@:" or "v@:@"
};

// A run-time declared instance variable. Only object-typed variables ("@") are modelled.
struct Ivar_ {
    std::string name;  // as declared, e.g. "_text"
    std::string types; // "@"
    std::size_t index; // slot index in every instance of the class and its subclasses
};

using InstanceFactory = Object* (*)(objc_class* cls);

// A class, also an object itself: class messages go to its metaclass's method table.
struct objc_class : Object {
    objc_class(objc_class* metaclass, std::string name, objc_class* superclass, bool isMeta);

    std::string name;                        // the runtime name, e.g. "WAMessageContainerView"
    objc_class* superclass;                  // nil for a root class
    bool isMeta;                             // true for a metaclass
    bool registered = false;                 // objc_registerClassPair has run
    std::uint64_t generation = 0;            // registration order, process-wide
    std::unordered_map<SEL, Method> methods; // own instance methods (class methods on the metaclass)
    std::vector<Method*> methodOrder;        // own methods in the order they were added
    std::vector<Ivar_> ivars;                // own run-time declared instance variables
    std::size_t ivarCount = 0;               // slots an instance needs, inherited ones included
    InstanceFactory factory = nullptr;       // builds the C++ object of an instance (inherited)
    std::size_t liveInstances = 0;           // instances of this very class not yet destroyed, as
                                             // Instruments' allocations count them: a leak shows here
};

} // namespace objc

using Ivar = const objc::Ivar_*;
