#include "HostClass.h"
#include "HostDrift.h"

#include "foundation/NSNumber.h"

#include <string>

namespace apps {

namespace {

Ivar storageOf(id object, std::string_view property) {
    std::string name = "_" + std::string(property);
    Ivar ivar = class_getInstanceVariable(object_getClass(object), name.c_str());
    if (!ivar)
        objc::raise(objc::NSInternalInconsistencyException, std::string(object_getClassName(object)) +
                                                                " has no storage for the property " +
                                                                std::string(property));
    return ivar;
}

// The synthesized getter: the selector's name is the property's.
id propertyGetter(id self, SEL cmd) {
    return object_getIvar(self, storageOf(self, cmd->name));
}

id answersNil(id, SEL) {
    return nullptr;
}

id answersNumber(id, SEL) {
    return NSNumber::numberWithLongLong(42);
}

// The drifted getter of a property: none at all, or one that answers what an update
// would (over an inherited one too, as the chat controller's `view`).
void shipDrift(Class cls, const HostDrift& drift) {
    if (drift.answer != DriftAnswer::Missing)
        objc::addMethod(cls, drift.property.c_str(),
                        drift.answer == DriftAnswer::Nil ? &answersNil : &answersNumber);
}

} // namespace

Class declareHostClass(const char* name, Class superclass, std::initializer_list<const char*> properties) {
    Class cls = objc_allocateClassPair(superclass, name, 0);
    if (!cls)
        objc::raise(objc::NSInternalInconsistencyException, std::string("class ") + name + " already exists");
    const auto& drift = hostDrift();
    bool drifts = drift && drift->className == name;
    for (const char* property : properties) {
        std::string ivar = std::string("_") + property;
        class_addIvar(cls, ivar.c_str(), sizeof(id), 3, "@"); // alignment as log2 of 8 bytes
        if (!drifts || drift->property != property)
            objc::addMethod(cls, property, &propertyGetter);
    }
    if (drifts)
        shipDrift(cls, *drift);
    objc_registerClassPair(cls);
    return cls;
}

Class hostClass(const char* name) {
    Class cls = objc_getClass(name);
    if (!cls)
        objc::raise(objc::NSInternalInconsistencyException,
                    std::string("class ") + name + " is not registered");
    return cls;
}

void setHostProperty(id object, const char* property, id value) {
    object_setIvar(object, storageOf(object, property), value);
}

id hostProperty(id object, const char* property) {
    return object_getIvar(object, storageOf(object, property));
}

id makeHostObject(const char* className) {
    return objc_autorelease(objc::send<id>(objc::send<id>(hostClass(className), "alloc"), "init"));
}

} // namespace apps
