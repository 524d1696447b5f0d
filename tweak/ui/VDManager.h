#pragma once

#include "Runtime.h"

// The view factory: class methods that each make one view, button or recogniser, set
// what Lexorna always wants on it, add it to the given view and answer it.

// Defines the class in the runtime; the library does so once, when it is loaded. Where
// another library took the name first, the class stays undefined.
void registerVDManager();

// The class the library defined, or nil when it could not define it. The library never
// looks it up by name, which could find another library's class of that name.
Class VDManagerClass();
