#pragma once

#include "NSObject.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// An immutable string, UTF-8 inside. Lengths and ranges count UTF-16 code units, as
// Foundation does.
class NSString : public NSObject {
    OBJC_NATIVE_CLASS(NSString) : NSObject(isa) {}

    static NSString* make(std::string_view utf8);
    static objc::Ref<NSString> makeOwned(std::string_view utf8);
    // A constant string, as @"..." gives one: one object per text for the whole process,
    // never released, so that code which names a string costs no allocation each time.
    static NSString* literal(std::string_view utf8);

    const std::string& utf8() const { return text_; }
    std::size_t length() const; // in UTF-16 code units
    // Foundation's boolValue: after leading white space, an optional sign and leading
    // zeros, true when the first character is Y, y, T, t or a digit 1 to 9.
    bool boolValue() const;

    bool isEqual(const NSObject* other) const override;
    std::size_t hash() const override;
    std::string description() const override { return text_; }

protected:
    std::string text_;
};

class NSMutableString : public NSString {
    OBJC_NATIVE_CLASS(NSMutableString) : NSString(isa) {}

    static NSMutableString* make(std::string_view utf8);
    void setString(std::string_view utf8) { text_ = utf8; }
    void append(std::string_view utf8) { text_ += utf8; }
};

// The UTF-8 text of a string object, empty for nil or a non-string.
std::string utf8Of(id string);

// UTF-16 offsets to UTF-8 byte offsets and back, for ranges in Foundation's units.
std::size_t utf16Length(std::string_view utf8);
std::size_t utf8OffsetOfUtf16(std::string_view utf8, std::size_t utf16Offset);

// Appends a code point (up to U+10FFFF, no surrogate) as UTF-8.
void appendUtf8(std::string& out, std::uint32_t code);
