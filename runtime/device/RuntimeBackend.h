#pragma once

// The runtime API over the real Objective-C runtime, through its public C functions
// alone: objc_msgSend cast to each send's own signature, class and method registration,
// and CydiaSubstrate's MSHookMessageEx. It needs no header beyond the compiler's own, so
// that the library imports nothing from a C++ library.

#include <stddef.h>
#include <stdint.h>

// Opaque to the library: it reads no field of an object, a class or a method.
struct objc_object {};
struct objc_class : objc_object {};
struct objc_selector;
struct objc_method;
struct objc_ivar;

using id = objc_object*;
using Class = objc_class*;
using SEL = objc_selector*;
using Method = objc_method*;
using Ivar = objc_ivar*;
using IMP = void (*)();
using BOOL = bool; // a C bool on arm64 iOS
using NSInteger = long;
using NSUInteger = unsigned long;

inline constexpr BOOL YES = true;
inline constexpr BOOL NO = false;

// The Foundation classes that the library's exported functions name.
struct NSObject : objc_object {};
struct NSString : NSObject {};

using CGFloat = double;
struct CGPoint {
    CGFloat x, y;
};
struct CGSize {
    CGFloat width, height;
};
struct CGRect {
    CGPoint origin;
    CGSize size;
};
// CoreGraphics' CGRectNull, an origin at infinity and no size, as a constant of our own
// rather than an import of CoreGraphics.
inline constexpr CGRect CGRectNull{{__builtin_inf(), __builtin_inf()}, {0, 0}};

struct NSOperatingSystemVersion {
    NSInteger majorVersion, minorVersion, patchVersion;
};

extern "C" {
// Declared without a prototype, as the runtime's own header does: every send casts it to
// its own signature.
void objc_msgSend(void);
void objc_msgSendSuper(void);

SEL sel_registerName(const char* name);
Class objc_getClass(const char* name);
Class objc_allocateClassPair(Class superclass, const char* name, size_t extraBytes);
void objc_registerClassPair(Class cls);
BOOL class_addIvar(Class cls, const char* name, size_t size, uint8_t log2Alignment, const char* types);
BOOL class_addMethod(Class cls, SEL name, IMP imp, const char* types);
Class object_getClass(id object);
Class class_getSuperclass(Class cls);
Method class_getInstanceMethod(Class cls, SEL name);
const char* method_getTypeEncoding(Method method);
Ivar class_getInstanceVariable(Class cls, const char* name);
ptrdiff_t ivar_getOffset(Ivar ivar);
id objc_getProperty(id self, SEL _cmd, ptrdiff_t offset, BOOL atomic);
void objc_setProperty(id self, SEL _cmd, ptrdiff_t offset, id value, BOOL atomic, signed char shouldCopy);
void objc_storeStrong(id* location, id value);
void* objc_autoreleasePoolPush(void);
void objc_autoreleasePoolPop(void* token);

id NSHomeDirectory(void);

void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* previous);
}

namespace objc {

template <class R = void, class... Args> R send(id receiver, SEL sel, Args... args) {
    return reinterpret_cast<R (*)(id, SEL, Args...)>(&objc_msgSend)(receiver, sel, args...);
}

template <class R = void, class... Args> R send(id receiver, const char* sel, Args... args) {
    return send<R>(receiver, sel_registerName(sel), args...);
}

// The runtime's struct objc_super.
struct Super {
    id receiver;
    Class superClass;
};

template <class R = void, class... Args> R sendSuper(id receiver, Class cls, const char* sel, Args... args) {
    Super super{receiver, class_getSuperclass(cls)};
    return reinterpret_cast<R (*)(Super*, SEL, Args...)>(&objc_msgSendSuper)(&super, sel_registerName(sel),
                                                                               args...);
}

// Type encodings, as the Objective-C compiler writes them, of what the library's methods
// take and answer.
template <class T> struct Encode;
template <> struct Encode<void> { static constexpr const char* value = "v"; };
template <> struct Encode<bool> { static constexpr const char* value = "B"; };
template <> struct Encode<long> { static constexpr const char* value = "q"; };
template <> struct Encode<unsigned long> { static constexpr const char* value = "Q"; };
template <> struct Encode<float> { static constexpr const char* value = "f"; };
template <> struct Encode<double> { static constexpr const char* value = "d"; };
template <> struct Encode<id> { static constexpr const char* value = "@"; };
template <> struct Encode<SEL> { static constexpr const char* value = ":"; };
template <> struct Encode<CGRect> { static constexpr const char* value = "{CGRect={CGPoint=dd}{CGSize=dd}}"; };

constexpr size_t encodedLength(const char* text) {
    size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

// "R@:Args...", made at compile time.
template <class R, class... Args> struct MethodEncoding {
    static constexpr size_t length =
        encodedLength(Encode<R>::value) + 2 + (0 + ... + encodedLength(Encode<Args>::value));
    struct Text {
        char chars[length + 1];
    };
    static constexpr Text value = [] {
        Text text{};
        size_t at = 0;
        auto append = [&](const char* part) {
            for (size_t i = 0; part[i]; ++i)
                text.chars[at++] = part[i];
        };
        append(Encode<R>::value);
        append("@:");
        (append(Encode<Args>::value), ...);
        return text;
    }();
};

template <class R, class... Args> IMP imp(R (*function)(id, SEL, Args...)) {
    return reinterpret_cast<IMP>(function);
}

template <class R, class... Args> bool addMethod(Class cls, const char* sel, R (*function)(id, SEL, Args...)) {
    return class_addMethod(cls, sel_registerName(sel), imp(function), MethodEncoding<R, Args...>::value.chars);
}

template <class R, class... Args>
bool addClassMethod(Class cls, const char* sel, R (*function)(id, SEL, Args...)) {
    return class_addMethod(object_getClass(cls), sel_registerName(sel), imp(function),
                           MethodEncoding<R, Args...>::value.chars);
}

inline id string(const char* utf8) {
    return send<id>(objc_getClass("NSString"), "stringWithUTF8String:", utf8);
}

id emptyBlock();

class AutoreleasePool {
public:
    AutoreleasePool() : token_(objc_autoreleasePoolPush()) {}
    ~AutoreleasePool() { objc_autoreleasePoolPop(token_); }
    AutoreleasePool(const AutoreleasePool&) = delete;
    AutoreleasePool& operator=(const AutoreleasePool&) = delete;

private:
    void* token_;
};

bool runCatching(const char* exceptionName, void (*body)(void*), void* context);

} // namespace objc
