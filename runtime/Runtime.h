#pragma once

// The one way the library reaches the Objective-C runtime, whichever runtime it runs on.
// The build puts one backend's RuntimeBackend.h on the include path; each gives:
//
//   id, Class, SEL, IMP, Method, Ivar, BOOL (YES, NO), NSString, NSObject, CGRect (CGRectNull),
//   NSOperatingSystemVersion, NSUInteger, NSInteger, and the runtime's C functions that the
//   library calls: objc_getClass, sel_registerName, objc_allocateClassPair, class_addIvar,
//   class_addMethod, objc_registerClassPair, object_getClass, class_getInstanceMethod,
//   method_getTypeEncoding, class_getInstanceVariable, ivar_getOffset, objc_getProperty,
//   objc_setProperty, objc_storeStrong, MSHookMessageEx and NSHomeDirectory.
//
// and in namespace objc:
//
//   send<R>(receiver, "selector:", args...)   a message, typed by the send's own signature;
//                                            nil answers zero
//   sendSuper<R>(self, cls, "selector", ...)  the same message to the superclass of `cls`
//   imp(function), addMethod(cls, "sel", function), addClassMethod(...)
//                                            an implementation and its type encoding, derived
//                                            from the function's signature
//   string("utf8")                           a new NSString
//   emptyBlock()                             a block that does nothing, for a completion or
//                                            a handler
//   AutoreleasePool                          a pool scope
//   runCatching(name, body, context)         runs body(context); false when it raised an
//                                            exception of that name, which is then caught.
//                                            Any other exception goes on up.
//
// An exception that the runtime raises reaches the library only through runCatching: the
// library is built without C++ exceptions, as an Objective-C exception is not a C++ one.

#include "RuntimeBackend.h"

namespace objc {

// Runs `body` and answers true, or false when it raised the exception named
// `exceptionName`, which is caught; any other exception goes on up.
template <class Body> bool catching(const char* exceptionName, Body&& body) {
    using BodyType = decltype(&body);
    return runCatching(
        exceptionName, [](void* context) { (*static_cast<BodyType>(context))(); },
        const_cast<void*>(static_cast<const void*>(&body)));
}

} // namespace objc
