#pragma once

#include "NSObject.h"

#include <string>
#include <string_view>

// A string with attributes. Only the characters are modelled: the hosts hand their
// text over in attributed strings, and readers take it out through -string.
class NSAttributedString : public NSObject {
    OBJC_NATIVE_CLASS(NSAttributedString) : NSObject(isa) {}

    static NSAttributedString* make(std::string_view utf8);

    const std::string& text() const { return text_; }

    bool isEqual(const NSObject* other) const override;
    std::size_t hash() const override;
    std::string description() const override { return text_; }

private:
    std::string text_;
};
