#pragma once

#include "NSObject.h"

#include <string>
#include <string_view>

// Bytes.
class NSData : public NSObject {
    OBJC_NATIVE_CLASS(NSData) : NSObject(isa) {}

    static NSData* make(std::string_view bytes);
    const std::string& bytes() const { return bytes_; }
    bool isEqual(const NSObject* other) const override;
    std::size_t hash() const override;

private:
    std::string bytes_;
};

// A point in time, as seconds since 2001-01-01 (a property list's <date>).
class NSDate : public NSObject {
    OBJC_NATIVE_CLASS(NSDate) : NSObject(isa) {}

    static NSDate* make(double secondsSinceReferenceDate);
    double timeIntervalSinceReferenceDate() const { return seconds_; }
    bool isEqual(const NSObject* other) const override;
    std::size_t hash() const override;

private:
    double seconds_ = 0;
};
