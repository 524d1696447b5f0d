#include "NSNumber.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>

NSNumber* NSNumber::numberWithBool(bool value) {
    // The two booleans are shared, as Foundation's kCFBooleanTrue and kCFBooleanFalse:
    // a number never changes, and a settings read then makes none.
    static auto* shared = [] {
        auto* both = new std::array<objc::Ref<NSNumber>, 2>; // never freed, as objects may outlive exit
        for (int i = 0; i < 2; ++i) {
            (*both)[i] = objc::makeOwned<NSNumber>(staticClass());
            (*both)[i]->kind_ = Kind::Boolean;
            (*both)[i]->integer_ = i;
        }
        return both;
    }();
    return (*shared)[value ? 1 : 0].get();
}

NSNumber* NSNumber::numberWithLongLong(long long value) {
    auto* number = objc::make<NSNumber>(staticClass());
    number->kind_ = Kind::Integer;
    number->integer_ = value;
    return number;
}

NSNumber* NSNumber::numberWithDouble(double value) {
    auto* number = objc::make<NSNumber>(staticClass());
    number->kind_ = Kind::Real;
    number->real_ = value;
    return number;
}

bool NSNumber::boolValue() const {
    return kind_ == Kind::Real ? real_ != 0.0 : integer_ != 0;
}

long long NSNumber::longLongValue() const {
    if (kind_ != Kind::Real)
        return integer_;
    if (std::isnan(real_))
        return 0;
    return static_cast<long long>(std::clamp(real_, -9.2e18, 9.2e18));
}

double NSNumber::doubleValue() const {
    return kind_ == Kind::Real ? real_ : static_cast<double>(integer_);
}

bool NSNumber::isEqual(const NSObject* other) const {
    auto* number = objc::dynCast<NSNumber>(const_cast<NSObject*>(other));
    return number && number->doubleValue() == doubleValue() && number->longLongValue() == longLongValue();
}

std::size_t NSNumber::hash() const {
    return std::hash<double>{}(doubleValue());
}

std::string NSNumber::description() const {
    if (kind_ != Kind::Real)
        return std::to_string(integer_);
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", real_);
    return text;
}

Class NSNumber::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSNumber>("NSNumber", NSObject::staticClass());
        objc::addMethod(
            c, "boolValue", +[](id self, SEL) -> bool { return static_cast<NSNumber*>(self)->boolValue(); });
        objc::addMethod(
            c, "longLongValue",
            +[](id self, SEL) -> long long { return static_cast<NSNumber*>(self)->longLongValue(); });
        objc::addMethod(
            c, "doubleValue",
            +[](id self, SEL) -> double { return static_cast<NSNumber*>(self)->doubleValue(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
