#include "NSData.h"

#include <functional>

NSData* NSData::make(std::string_view bytes) {
    auto* data = objc::make<NSData>(staticClass());
    data->bytes_ = bytes;
    return data;
}

bool NSData::isEqual(const NSObject* other) const {
    auto* data = objc::dynCast<NSData>(const_cast<NSObject*>(other));
    return data && data->bytes_ == bytes_;
}

std::size_t NSData::hash() const {
    return std::hash<std::string>{}(bytes_);
}

Class NSData::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSData>("NSData", NSObject::staticClass());
        objc::addMethod(
            c, "length",
            +[](id self, SEL) -> unsigned long { return static_cast<NSData*>(self)->bytes().size(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

NSDate* NSDate::make(double secondsSinceReferenceDate) {
    auto* date = objc::make<NSDate>(staticClass());
    date->seconds_ = secondsSinceReferenceDate;
    return date;
}

bool NSDate::isEqual(const NSObject* other) const {
    auto* date = objc::dynCast<NSDate>(const_cast<NSObject*>(other));
    return date && date->seconds_ == seconds_;
}

std::size_t NSDate::hash() const {
    return std::hash<double>{}(seconds_);
}

Class NSDate::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSDate>("NSDate", NSObject::staticClass());
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
