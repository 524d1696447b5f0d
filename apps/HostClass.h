#pragma once

#include "objc/Message.h"

#include <initializer_list>

namespace apps {

// Declares and registers a class of a host app: a run-time subclass whose object
// properties are kept, as synthesized Objective-C properties are, in an instance
// variable "_name" and read through an accessor "name" that goes through the runtime.
Class declareHostClass(const char* name, Class superclass,
                       std::initializer_list<const char*> properties = {});

// The registered host class of that name; raises when the app did not register it, a
// fault of the app's own start-up order.
Class hostClass(const char* name);

// The host's own access to a property's storage, as the class's code reaches its
// instance variables directly.
void setHostProperty(id object, const char* property, id value);
id hostProperty(id object, const char* property);

// A new instance of a host class, initialised (+alloc, -init) through the runtime.
id makeHostObject(const char* className);

} // namespace apps
