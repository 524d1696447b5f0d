#pragma once

#include "Runtime.h"

// The controller on top of the key window, on which the library presents: from the
// root controller, follow modal presentations to the deepest one and, at a navigation
// controller, its visible controller, until a pass moves nowhere. Nil without a key
// window or root controller.
id topMostController();

// One pass of that walk from a controller: the controller reached, or nil when the walk
// does not move.
id _topMostController(id controller);

// A centred alert with an "OK" button, presented on the top-most controller.
extern "C" [[gnu::visibility("default")]] void Alert(NSString* title, NSString* message);

// The value of any object for a key (an accessor, else an instance variable with or
// without a leading underscore); nil when the object has no such key.
extern "C" [[gnu::visibility("default")]] id GetIvar(NSObject* object, NSString* key);
