#include "RuntimeBackend.h"

#include "foundation/NSBlock.h"

namespace objc {

id string(const char* utf8) {
    return send<id>(objc_getClass("NSString"), "stringWithUTF8String:", utf8);
}

id emptyBlock() {
    return NSBlock::make([] {});
}

// Built with C++ exceptions, unlike the library: here the platform's raise is caught.
bool runCatching(const char* exceptionName, void (*body)(void*), void* context) {
    try {
        body(context);
        return true;
    } catch (const Exception& exception) {
        if (exception.name() != exceptionName)
            throw;
        return false;
    }
}

} // namespace objc
