#pragma once

// A value or none, for the options that the library's tables leave out. The library
// links no C++ library, so std::optional is not at hand; `{}` is none.
template <class T> class Optional {
public:
    constexpr Optional() = default;
    constexpr Optional(T value) : value_(value), present_(true) {}

    constexpr explicit operator bool() const { return present_; }
    constexpr T operator*() const { return value_; }

private:
    T value_{};
    bool present_ = false;
};
