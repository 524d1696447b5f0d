#pragma once

#include "objc/Object.h"

#include <functional>

// Runs a test body in a forked child that has Lexorna mapped in (on a fresh device with
// no settings, so nothing is hooked): the library's classes and exports are there, and
// the runtime of the test process itself is never touched.
void withLibrary(const std::function<void(void* library)>& body);
