#include "NSString.h"
#include "NSData.h"
#include "NSNumber.h"

#include "objc/NameCache.h"

#include <functional>
#include <mutex>
#include <unordered_map>

using objc::send;

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        std::size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        units += bytes == 4 ? 2 : 1; // characters beyond the BMP take a surrogate pair
        i += bytes;
    }
    return units;
}

std::size_t utf8OffsetOfUtf16(std::string_view utf8, std::size_t utf16Offset) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < utf8.size() && units < utf16Offset) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        std::size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::size_t width = bytes == 4 ? 2 : 1;
        // An offset inside a surrogate pair rounds to the end of the character.
        units += width;
        i += bytes;
    }
    return std::min(i, utf8.size());
}

NSString* NSString::make(std::string_view utf8) {
    return static_cast<NSString*>(objc::autorelease(makeOwned(utf8).get()));
}

objc::Ref<NSString> NSString::makeOwned(std::string_view utf8) {
    auto string = objc::makeOwned<NSString>(staticClass());
    string->text_ = utf8;
    return string;
}

NSString* NSString::literal(std::string_view utf8) {
    // Never destroyed, as the constant strings of a binary are not. The table is shared
    // by every thread; each thread's cache in front of it spares the lock.
    thread_local objc::NameCache<NSString*> cache;
    return cache.lookup(
        utf8, [](NSString* string) -> std::string_view { return string->utf8(); },
        [](std::string_view text) {
            static std::mutex lock;
            static auto* strings = new std::unordered_map<std::string_view, NSString*>;
            std::lock_guard guard(lock);
            if (auto it = strings->find(text); it != strings->end())
                return it->second;
            objc::Ref<NSString> string = makeOwned(text);
            string->retain(); // the table's reference, never given up
            strings->emplace(string->utf8(), string.get());
            return string.get();
        });
}

std::size_t NSString::length() const {
    return utf16Length(text_);
}

bool NSString::boolValue() const {
    std::size_t i = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    };
    while (i < text_.size() && isSpace(text_[i]))
        ++i;
    if (i < text_.size() && (text_[i] == '+' || text_[i] == '-'))
        ++i;
    while (i < text_.size() && text_[i] == '0')
        ++i;
    if (i == text_.size())
        return false;
    char c = text_[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

bool NSString::isEqual(const NSObject* other) const {
    auto* string = objc::dynCast<NSString>(const_cast<NSObject*>(other));
    return string && string->text_ == text_;
}

std::size_t NSString::hash() const {
    return std::hash<std::string>{}(text_);
}

std::string utf8Of(id string) {
    auto* native = objc::dynCast<NSString>(string);
    return native ? native->utf8() : std::string();
}

Class NSString::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSString>("NSString", NSObject::staticClass());
        objc::addClassMethod(
            c, "stringWithUTF8String:", +[](id, SEL, const char* utf8) -> id {
                // Foundation raises for NULL; the bytes are taken as they are.
                if (!utf8)
                    objc::raise(objc::NSInvalidArgumentException, "stringWithUTF8String: NULL cString");
                return NSString::make(utf8);
            });
        objc::addMethod(
            c, "stringByAppendingString:", +[](id self, SEL, id string) -> id {
                if (!string)
                    objc::raise(objc::NSInvalidArgumentException, "stringByAppendingString: nil argument");
                return NSString::make(static_cast<NSString*>(self)->utf8() + utf8Of(string));
            });
        objc::addMethod(
            c, "length",
            +[](id self, SEL) -> unsigned long { return static_cast<NSString*>(self)->length(); });
        objc::addMethod(
            c, "boolValue", +[](id self, SEL) -> bool { return static_cast<NSString*>(self)->boolValue(); });
        objc::addMethod(
            c, "UTF8String",
            +[](id self, SEL) -> const char* { return static_cast<NSString*>(self)->utf8().c_str(); });
        objc::addMethod(
            c, "dataUsingEncoding:", +[](id self, SEL, unsigned long encoding) -> id {
                // Only UTF-8 (4) is modelled; other encodings answer nil, as a failed conversion does.
                if (encoding != 4)
                    return nullptr;
                return NSData::make(static_cast<NSString*>(self)->utf8());
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

NSMutableString* NSMutableString::make(std::string_view utf8) {
    auto* string = objc::make<NSMutableString>(staticClass());
    string->setString(utf8);
    return string;
}

Class NSMutableString::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSMutableString>("NSMutableString", NSString::staticClass());
        objc::addMethod(
            c, "setString:", +[](id self, SEL, id string) {
                static_cast<NSMutableString*>(self)->setString(utf8Of(string));
            });
        objc::addMethod(
            c, "appendString:", +[](id self, SEL, id string) {
                static_cast<NSMutableString*>(self)->append(utf8Of(string));
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
