#pragma once

#include <stdexcept>
#include <string>

namespace objc {

// An exception that iOS raises (NSException): an unrecognized selector, a constraint
// without a common ancestor, an index out of range. Uncaught, it ends the launch.
class [[gnu::visibility("default")]] Exception : public std::runtime_error {
public:
    Exception(std::string name, std::string reason)
        : std::runtime_error(name + ": " + reason), name_(std::move(name)), reason_(std::move(reason)) {}

    const std::string& name() const {
        return name_;
    }
    const std::string& reason() const {
        return reason_;
    }

private:
    std::string name_;
    std::string reason_;
};

[[noreturn]] void raise(std::string name, std::string reason);

inline constexpr const char* NSInvalidArgumentException = "NSInvalidArgumentException";
inline constexpr const char* NSRangeException = "NSRangeException";
inline constexpr const char* NSGenericException = "NSGenericException";
inline constexpr const char* NSUnknownKeyException = "NSUnknownKeyException";
inline constexpr const char* NSInternalInconsistencyException = "NSInternalInconsistencyException";

} // namespace objc
