#include "NSAttributedString.h"
#include "NSString.h"

#include <functional>

NSAttributedString* NSAttributedString::make(std::string_view utf8) {
    auto* string = objc::make<NSAttributedString>(staticClass());
    string->text_ = utf8;
    return string;
}

bool NSAttributedString::isEqual(const NSObject* other) const {
    auto* string = objc::dynCast<NSAttributedString>(const_cast<NSObject*>(other));
    return string && string->text_ == text_;
}

std::size_t NSAttributedString::hash() const {
    return std::hash<std::string>{}(text_);
}

Class NSAttributedString::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSAttributedString>("NSAttributedString", NSObject::staticClass());
        objc::addMethod(
            c, "string", +[](id self, SEL) -> id {
                return NSString::make(static_cast<NSAttributedString*>(self)->text());
            });
        objc::addMethod(
            c, "length", +[](id self, SEL) -> unsigned long {
                return utf16Length(static_cast<NSAttributedString*>(self)->text());
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
