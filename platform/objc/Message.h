#pragma once

// Typed message sending: send<R>(receiver, "selector:", args...) finds the method the
// receiver's class runs for the selector, checks that the C++ signature of the send
// matches the method's type encoding, and calls the implementation. A message to nil
// runs nothing and answers zero.

#include "Autorelease.h"
#include "Exception.h"
#include "Runtime.h"

#include <cstddef>
#include <type_traits>

namespace objc {

template <> struct Encode<std::nullptr_t> { static constexpr std::string_view value = "@"; };

// How a C++ argument or result travels through an implementation: every object pointer
// as id, everything else as itself.
template <class T, class = void> struct Erase { using type = T; };
template <class T> struct Erase<T, std::enable_if_t<IsObjectPointer<T>>> { using type = id; };
template <> struct Erase<std::nullptr_t> { using type = id; };
template <class T> struct Erase<Ref<T>> { using type = id; };
template <class T> using Erased = typename Erase<std::remove_cvref_t<T>>::type;

template <class T> struct EncodeArg : Encode<std::remove_cvref_t<T>> {};
template <class T> struct EncodeArg<Ref<T>> : Encode<id> {};

// Made once per signature: every send checks it.
template <class R, class... Args> const std::string& sendEncoding() {
    static const std::string types = [] {
        std::string out(Encode<R>::value);
        out += "@:";
        ((out += EncodeArg<Args>::value), ...);
        return out;
    }();
    return types;
}

template <class T> Erased<T> eraseArg(T&& value) {
    if constexpr (std::is_same_v<Erased<T>, id> && !std::is_same_v<std::remove_cvref_t<T>, std::nullptr_t>)
        return static_cast<id>(value);
    else
        return value;
}

template <class R> R zeroValue() {
    if constexpr (std::is_void_v<R>)
        return;
    else
        return R{};
}

// Checked downcast of an object the runtime answered: a result of the wrong class is a
// fault of the caller's expectations, raised rather than left undefined.
template <class T> T* cast(id object) {
    if (!object)
        return nullptr;
    if (!isKindOfClass(object, T::staticClass()))
        raise(NSInvalidArgumentException, "object is not a kind of the expected class");
    return static_cast<T*>(object);
}

// Like cast, but answers nil for an object of another class.
template <class T> T* dynCast(id object) {
    if (!object || !isKindOfClass(object, T::staticClass()))
        return nullptr;
    return static_cast<T*>(object);
}

template <class R, class... Args> R sendFrom(id receiver, Class start, SEL sel, Args&&... args) {
    if (!receiver)
        return zeroValue<R>();
    const Method& method = resolveSend(receiver, start, sel, sendEncoding<R, Args...>());
    using ErasedR = std::conditional_t<IsObjectPointer<R>, id, R>;
    auto imp = reinterpret_cast<ErasedR (*)(id, SEL, Erased<Args>...)>(method.imp);
    if constexpr (std::is_void_v<R>) {
        imp(receiver, sel, eraseArg(std::forward<Args>(args))...);
    } else if constexpr (IsObjectPointer<R> && !std::is_same_v<R, id>) {
        return cast<std::remove_pointer_t<R>>(imp(receiver, sel, eraseArg(std::forward<Args>(args))...));
    } else {
        return imp(receiver, sel, eraseArg(std::forward<Args>(args))...);
    }
}

template <class R = void, class... Args> R send(id receiver, SEL sel, Args&&... args) {
    return sendFrom<R>(receiver, receiver ? receiver->isa() : nullptr, sel, std::forward<Args>(args)...);
}

template <class R = void, class... Args> R send(id receiver, const char* sel, Args&&... args) {
    return send<R>(receiver, sel_registerName(sel), std::forward<Args>(args)...);
}

// [super sel]: the method of the superclass of `cls`, the class whose method is running.
template <class R = void, class... Args>
R sendSuper(id receiver, Class cls, const char* sel, Args&&... args) {
    return sendFrom<R>(receiver, cls ? cls->superclass : nullptr, sel_registerName(sel),
                       std::forward<Args>(args)...);
}

template <class T> constexpr bool TravelsAsItself = !IsObjectPointer<T> || std::is_same_v<T, id>;

// Erases a typed implementation to an IMP; its encoding comes with it. Implementations
// take and answer objects as id, the type a send calls them with.
template <class R, class... Args> IMP imp(R (*function)(id, SEL, Args...)) {
    static_assert(TravelsAsItself<R> && (TravelsAsItself<Args> && ...),
                  "implementations take and answer objects as id");
    return reinterpret_cast<IMP>(function);
}

// Adds a typed method whose type encoding is derived from its signature.
template <class R, class... Args>
bool addMethod(Class cls, const char* sel, R (*function)(id, SEL, Args...)) {
    return class_addMethod(cls, sel_registerName(sel), imp(function), methodEncoding<R, Args...>().c_str());
}

// Adds a typed class method.
template <class R, class... Args>
bool addClassMethod(Class cls, const char* sel, R (*function)(id, SEL, Args...)) {
    return class_addMethod(object_getClass(cls), sel_registerName(sel), imp(function),
                           methodEncoding<R, Args...>().c_str());
}

// A new instance of a class, alive in the current autorelease pool, as +alloc gives it.
template <class T = Object> T* make(Class cls) {
    return static_cast<T*>(autorelease(class_createInstance(cls, 0)));
}

// A new instance held by the caller's reference alone, outside any pool: for code that
// makes many objects and keeps them, such as a property-list reader.
template <class T = Object> Ref<T> makeOwned(Class cls) {
    return Ref<T>(static_cast<T*>(class_createInstance(cls, 0)));
}

} // namespace objc
