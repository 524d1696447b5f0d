#include "HostClass.h"

#include <string>

namespace apps {

namespace {

Ivar storageOf(id object, std::string_view property) {
    std::string name = "_" + std::string(property);
    Ivar ivar = class_getInstanceVariable(object->isa(), name.c_str());
    if (!ivar)
        objc::raise(objc::NSInternalInconsistencyException,
                    object->isa()->name + " has no storage for the property " + std::string(property));
    return ivar;
}

// The synthesized getter: the selector's name is the property's.
id propertyGetter(id self, SEL cmd) {
    return object_getIvar(self, storageOf(self, cmd->name));
}

} // namespace

Class declareHostClass(const char* name, Class superclass, std::initializer_list<const char*> properties) {
    Class cls = objc_allocateClassPair(superclass, name, 0);
    if (!cls)
        objc::raise(objc::NSInternalInconsistencyException, std::string("class ") + name + " already exists");
    for (const char* property : properties) {
        std::string ivar = std::string("_") + property;
        class_addIvar(cls, ivar.c_str(), sizeof(id), alignof(id), "@");
        objc::addMethod(cls, property, &propertyGetter);
    }
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
    return objc::send<id>(objc::send<id>(hostClass(className), "alloc"), "init");
}

} // namespace apps
