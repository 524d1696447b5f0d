// The one Objective-C unit of the library: an exception that iOS raises is an
// Objective-C object, caught here with @try/@catch and never by C++.

#include <stddef.h>

extern "C" id objc_msgSend(id, SEL, ...);
extern "C" SEL sel_registerName(const char*);

namespace objc {

namespace {

bool sameName(const char* left, const char* right) {
    if (!left || !right)
        return false;
    size_t i = 0;
    for (; left[i] && left[i] == right[i]; ++i) {
    }
    return left[i] == right[i];
}

// [[exception name] UTF8String], sent as plain messages: the library has no Foundation header.
const char* nameOf(id exception) {
    id name = reinterpret_cast<id (*)(id, SEL)>(objc_msgSend)(exception, sel_registerName("name"));
    return reinterpret_cast<const char* (*)(id, SEL)>(objc_msgSend)(name, sel_registerName("UTF8String"));
}

} // namespace

bool runCatching(const char* exceptionName, void (*body)(void*), void* context) {
    @try {
        body(context);
        return true;
    } @catch (id exception) {
        if (!sameName(nameOf(exception), exceptionName))
            @throw;
        return false;
    }
}

} // namespace objc
