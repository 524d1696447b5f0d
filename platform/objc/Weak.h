#pragma once

#include "Object.h"

namespace objc {

// Makes `*slot` a weak reference to `object` (nil clears it): the runtime sets the slot to
// nil when the object is destroyed, as it does for ARC's __weak variables.
void storeWeak(Object** slot, Object* object);

// A reference that does not keep its object alive and reads nil once the object is gone:
// what UIKit keeps of a delegate or a target, which the app may release at any time.
template <class T> class Weak {
public:
    Weak() = default;
    Weak(T* object) { storeWeak(&slot_, object); }
    Weak(const Weak& other) { storeWeak(&slot_, other.slot_); }
    Weak& operator=(const Weak& other) {
        storeWeak(&slot_, other.slot_);
        return *this;
    }
    Weak& operator=(T* object) {
        storeWeak(&slot_, object);
        return *this;
    }
    ~Weak() { storeWeak(&slot_, nullptr); }

    T* get() const { return static_cast<T*>(slot_); }
    explicit operator bool() const { return slot_ != nullptr; }

private:
    Object* slot_ = nullptr;
};

} // namespace objc
