#pragma once

// What a phone's Foundation, blocks runtime and CydiaSubstrate give the device backend, as
// tiny stand-ins of our own over the GCC runtime's C functions: NSObject (a root class that
// counts references), NSString, NSException, autorelease pools, objc_storeStrong,
// MSHookMessageEx, NSHomeDirectory, _NSConcreteGlobalBlock, and object_getClass, which GCC's
// runtime has only in its header. They are registered before
// main runs.

#include "Runtime.h"

namespace standins {

long retainCount(id object);
int poolDepth();
// Pops whose token was not the innermost pool's: every one is a fault of the caller.
int mispairedPops();
const char* text(id string);
// Raises an NSException of that name, autoreleased as Foundation's are.
[[noreturn]] void raise(const char* name);

} // namespace standins
