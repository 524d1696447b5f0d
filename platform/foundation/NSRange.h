#pragma once

#include "objc/Encoding.h"

// A range of a string in UTF-16 code units, as Foundation counts.
struct NSRange {
    unsigned long location = 0;
    unsigned long length = 0;
    bool operator==(const NSRange&) const = default;
};

inline NSRange NSMakeRange(unsigned long location, unsigned long length) {
    return NSRange{location, length};
}

namespace objc {
template <> struct Encode<NSRange> { static constexpr std::string_view value = "{_NSRange=QQ}"; };
} // namespace objc
