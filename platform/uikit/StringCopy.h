#pragma once

#include "foundation/NSString.h"

// What a copy property of UIKit keeps: an immutable string stays itself, a mutable one is
// copied, so a change made to it later does not reach the holder. Nil stays nil; an object
// that is not a string raises.
inline NSString* copyString(id string) {
    auto* text = objc::cast<NSString>(string);
    if (!text || text->isa() == NSString::staticClass())
        return text;
    return NSString::make(text->utf8());
}
