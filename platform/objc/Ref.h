#pragma once

#include <cstddef>
#include <utility>

namespace objc {

// Strong reference to an intrusively counted object (retain on copy, release on
// destruction), in the spirit of SerenityOS's RefPtr and LLVM's IntrusiveRefCntPtr.
// A null Ref is allowed: it models a nil strong reference.
template <class T> class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(T* object) : object_(object) { retainIfSet(); }
    Ref(const Ref& other) : object_(other.object_) { retainIfSet(); }
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U> Ref(const Ref<U>& other) : object_(other.get()) { retainIfSet(); }
    ~Ref() { releaseIfSet(); }

    Ref& operator=(const Ref& other) { return assign(other.object_); }
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(object_, std::exchange(other.object_, nullptr));
            if (old)
                old->release();
        }
        return *this;
    }
    Ref& operator=(T* object) { return assign(object); }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    // A strong reference turns into a raw pointer only when asked (get()), so that no
    // caller holds an object by a pointer without meaning to.
    explicit operator T*() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    template <class U> bool operator==(const Ref<U>& other) const { return object_ == other.get(); }
    template <class U> bool operator==(U* other) const { return object_ == other; }
    bool operator==(std::nullptr_t) const { return object_ == nullptr; }

private:
    Ref& assign(T* object) {
        // Retain before releasing, so self-assignment of the last reference is safe.
        if (object)
            object->retain();
        T* old = std::exchange(object_, object);
        if (old)
            old->release();
        return *this;
    }
    void retainIfSet() {
        if (object_)
            object_->retain();
    }
    void releaseIfSet() {
        if (object_)
            object_->release();
    }

    T* object_ = nullptr;
};

} // namespace objc
