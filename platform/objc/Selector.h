#pragma once

#include <string>
#include <string_view>

namespace objc {

// A selector: an interned method name. Two selectors with the same name are the same
// pointer, so selectors compare by identity as on iOS.
struct Selector {
    std::string name; // the method name, e.g. "addTarget:action:forControlEvents:"
};

} // namespace objc

using SEL = const objc::Selector*;

SEL sel_registerName(std::string_view name);
const char* sel_getName(SEL sel);
