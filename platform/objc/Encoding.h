#pragma once

#include "Object.h"

#include <string>
#include <string_view>
#include <type_traits>

namespace objc {

// The type encoding of a C++ type, as the Objective-C compiler writes it into a method's
// type string. A type without a specialisation cannot be sent through the runtime.
template <class T, class = void> struct Encode;

template <> struct Encode<void> { static constexpr std::string_view value = "v"; };
template <> struct Encode<bool> { static constexpr std::string_view value = "B"; };
template <> struct Encode<char> { static constexpr std::string_view value = "c"; };
template <> struct Encode<int> { static constexpr std::string_view value = "i"; };
template <> struct Encode<unsigned> { static constexpr std::string_view value = "I"; };
template <> struct Encode<long> { static constexpr std::string_view value = "q"; };
template <> struct Encode<unsigned long> { static constexpr std::string_view value = "Q"; };
template <> struct Encode<long long> { static constexpr std::string_view value = "q"; };
template <> struct Encode<unsigned long long> { static constexpr std::string_view value = "Q"; };
template <> struct Encode<float> { static constexpr std::string_view value = "f"; };
template <> struct Encode<double> { static constexpr std::string_view value = "d"; };
template <> struct Encode<SEL> { static constexpr std::string_view value = ":"; };
template <> struct Encode<Class> { static constexpr std::string_view value = "#"; };
template <> struct Encode<const char*> { static constexpr std::string_view value = "*"; };

template <> struct Encode<objc::Object**> { static constexpr std::string_view value = "^@"; };
template <> struct Encode<bool*> { static constexpr std::string_view value = "^B"; };

template <class T>
constexpr bool IsObjectPointer =
    std::is_pointer_v<T>&& std::is_base_of_v<Object, std::remove_cv_t<std::remove_pointer_t<T>>> &&
    !std::is_base_of_v<objc_class, std::remove_cv_t<std::remove_pointer_t<T>>>;

template <class T> struct Encode<T, std::enable_if_t<IsObjectPointer<T>>> {
    static constexpr std::string_view value = "@";
};

// The encoding of a method R (*)(id, SEL, Args...): return type, receiver, selector,
// then each argument.
template <class R, class... Args> std::string methodEncoding() {
    std::string types(Encode<R>::value);
    types += "@:";
    ((types += Encode<Args>::value), ...);
    return types;
}

// Method type strings on a device may carry frame offsets ("v16@0:8"); two strings
// describe the same signature when they agree without them.
bool sameSignature(std::string_view declared, std::string_view expected);

} // namespace objc
