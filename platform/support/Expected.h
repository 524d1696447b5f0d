#pragma once

#include <utility>
#include <variant>

namespace support {

// A value or the error that kept it from being made: errors that can happen are values
// (C++23's std::expected, which g++ 12 lacks in C++20 mode).
template <class E> struct Unexpected {
    // A constructor rather than an aggregate, so that compilers without C++20's
    // parenthesised aggregate initialisation (clang 14) build it too.
    explicit Unexpected(E value) : error(std::move(value)) {}
    E error;
};

template <class T, class E> class [[nodiscard]] Expected {
public:
    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(Unexpected<E> error) : state_(std::in_place_index<1>, std::move(error.error)) {}

    bool hasValue() const { return state_.index() == 0; }
    explicit operator bool() const { return hasValue(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const E& error() const { return std::get<1>(state_); }

private:
    std::variant<T, E> state_;
};

// An operation that answers nothing but may fail.
template <class E> class [[nodiscard]] Expected<void, E> {
public:
    Expected() = default;
    Expected(Unexpected<E> error) : error_(std::move(error.error)), failed_(true) {}

    bool hasValue() const { return !failed_; }
    explicit operator bool() const { return hasValue(); }
    const E& error() const { return error_; }

private:
    E error_{};
    bool failed_ = false;
};

} // namespace support
