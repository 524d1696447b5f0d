#pragma once

// The runtime API over the simulated platform: every send checks its C++ signature
// against the method's type encoding, and is refused loudly where they differ.

#include "foundation/NSPathUtilities.h"
#include "foundation/NSProcessInfo.h"
#include "foundation/NSString.h"
#include "objc/Message.h"
#include "substrate/Substrate.h"
#include "uikit/CGGeometry.h"

using Method = const objc::Method*;
using NSUInteger = unsigned long;
using NSInteger = long;

namespace objc {

id string(const char* utf8);
id emptyBlock();
bool runCatching(const char* exceptionName, void (*body)(void*), void* context);

} // namespace objc
