#pragma once

#include "objc/NativeClass.h"

#include <string>

// The root class. Its methods are the runtime's basic protocol: allocation, identity,
// kind tests, equality, description and key-value lookup.
class NSObject : public objc::Object {
    OBJC_NATIVE_CLASS(NSObject) : objc::Object(isa) {}

    // Equality and hashing as -isEqual: and -hash; the base compares identity.
    virtual bool isEqual(const NSObject* other) const { return this == other; }
    virtual std::size_t hash() const { return reinterpret_cast<std::size_t>(this); }
    // What -description answers; "(null)" is the text of nil.
    virtual std::string description() const;

    // -valueForKey:: an accessor named key, else an instance variable "_key" or "key",
    // else the undefined-key exception. Scalars come back boxed in NSNumber.
    static id valueForKey(id object, const std::string& key);
};

// The text of an object in a format's %@: its description, or "(null)" for nil.
std::string describe(id object);
