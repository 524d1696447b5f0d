#pragma once

#include "device/Instruments.h"
#include "objc/Class.h"

namespace substrate {

// Records class_addMethod calls in the instruments from now on, under the same rule as
// hooks: once the host's classes are marked, calls on those classes and on nil.
void installRuntimeRecording();

// Records one runtime call on `cls` if the instruments watch that class.
void recordRuntimeCall(Class cls, device::RuntimeCall call);

} // namespace substrate
