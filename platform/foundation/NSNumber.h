#pragma once

#include "NSObject.h"

// A number or a boolean (a property list's <true/> is a boolean, not the number 1).
class NSNumber : public NSObject {
    OBJC_NATIVE_CLASS(NSNumber) : NSObject(isa) {}

    enum class Kind { Boolean, Integer, Real };

    static NSNumber* numberWithBool(bool value);
    static NSNumber* numberWithLongLong(long long value);
    static NSNumber* numberWithDouble(double value);

    Kind kind() const { return kind_; }
    bool boolValue() const; // true when not zero
    long long longLongValue() const;
    double doubleValue() const;

    bool isEqual(const NSObject* other) const override;
    std::size_t hash() const override;
    std::string description() const override;

private:
    Kind kind_ = Kind::Integer;
    long long integer_ = 0;
    double real_ = 0;
};
