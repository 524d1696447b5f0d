#pragma once

#include "objc/Runtime.h"

// The view factory: class methods that each make one view, button or recogniser, set
// what Lexorna always wants on it, add it to the given view and answer it. The class is
// registered in the runtime when the library is loaded.
// Defines the class; the library does so once, when it is loaded.
Class VDManagerClass();
