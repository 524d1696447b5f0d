#pragma once

#include "PropertyList.h"

#include <string_view>

// Reads a binary property list ("bplist00") straight into Foundation objects, or nil.
//
// A small file whose objects share references can stand for gigabytes once every
// reference is read out as its own copy, and a reference cycle or a deep nest would
// exhaust a recursive reader's stack. So the object graph is first walked from the top
// object without building it, counting each object once (memoised): a malformed
// trailer, offset table or object, an out-of-range reference, a cycle, a dictionary key
// that is not a string without NUL, or an expansion past the limits reads as nil. Only
// then are the objects built, each once: an object that several containers refer to is
// shared among them, as Foundation's objects are immutable.
id readBinaryPropertyList(std::string_view bytes, const PropertyListLimits& limits);
