#pragma once

#include "NSObject.h"

// A system version as NSProcessInfo compares it.
struct NSOperatingSystemVersion {
    long majorVersion = 0;
    long minorVersion = 0;
    long patchVersion = 0;
};

namespace objc {
template <> struct Encode<NSOperatingSystemVersion> {
    static constexpr std::string_view value = "{NSOperatingSystemVersion=qqq}";
};
} // namespace objc

// The running process, as far as code asks it about the system it runs on
// (-isOperatingSystemAtLeastVersion:, against the running system's version).
class NSProcessInfo : public NSObject {
    OBJC_NATIVE_CLASS(NSProcessInfo) : NSObject(isa) {}

    static NSProcessInfo* processInfo();
};
