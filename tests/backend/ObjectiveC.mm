// What the tests need the Objective-C compiler's own view of: an exception caught with
// @catch, and a block called as the compiler calls one.

@protocol Named
- (id)name;
- (const char*)UTF8String;
@end

namespace objc {
bool runCatching(const char* exceptionName, void (*body)(void*), void* context);
}

// The name of the exception that went on up past runCatching, or null when none did.
extern "C" const char* escapedName(const char* caughtName, void (*body)(void*), void* context) {
    @try {
        objc::runCatching(caughtName, body, context);
        return nullptr;
    } @catch (id exception) {
        return [[exception name] UTF8String];
    }
}

extern "C" void invokeBlock(id block) {
    ((void (^)(bool))block)(true);
}

// A block literal that captures nothing, as the compiler lays it out.
extern "C" const void* compilersGlobalBlock() {
    return (const void*)^{
    };
}
