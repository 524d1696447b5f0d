#pragma once

#include "Ref.h"
#include "Selector.h"

#include <cassert>
#include <cstdint>
#include <vector>

namespace objc {

struct objc_class;

// The header every instance starts with: its class (isa), its retain count and the
// slots of the instance variables that its classes declared at run time. Native
// platform classes (UIView, NSString, ...) derive from it in C++ and keep their own
// state in C++ members; classes that apps and the library declare at run time keep
// theirs in the slots.
class Object {
public:
    explicit Object(objc_class* isa);
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    objc_class* isa() const { return isa_; }

    // Inline: every strong reference that is copied or dropped comes through here.
    void retain() const { ++retainCount_; }
    void release() const {
        assert(retainCount_ > 0 && "over-release");
        if (--retainCount_ == 0)
            delete this;
    }
    std::uint32_t retainCount() const { return retainCount_; }

    // Weak references (Weak.h) to this object are set to nil when it is destroyed.
    void markWeaklyReferenced() const { weaklyReferenced_ = true; }

    // Run-time declared instance variables (object-typed), indexed by Ivar::index.
    Object* ivarSlot(std::size_t index) const;
    void setIvarSlot(std::size_t index, Object* value);

private:
    void clearWeakReferences() const;

    objc_class* isa_;                       // the object's class
    mutable std::uint32_t retainCount_ = 0; // strong references, the autorelease pool's included
    mutable bool weaklyReferenced_ = false;
    std::vector<Ref<Object>> ivarSlots_; // run-time declared instance variables
};

} // namespace objc

using id = objc::Object*;
using Class = objc::objc_class*;
using BOOL = bool;
using IMP = void (*)();

inline constexpr BOOL YES = true;
inline constexpr BOOL NO = false;
