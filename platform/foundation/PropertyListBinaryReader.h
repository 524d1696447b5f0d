#pragma once

#include "PropertyList.h"

#include <string_view>

// Reads a binary property list ("bplist00") straight into Foundation objects, or nil.
//
// A small file whose objects share references can stand for gigabytes once every
// reference is read out as its own copy, and a reference cycle or a deep nest would
// exhaust a recursive reader's stack. So each object is read once (memoised) and shared
// among the containers that refer to it, as Foundation's objects are immutable, while
// the read counts what each object would expand to: a malformed trailer, offset table
// or object, an out-of-range reference, a cycle, a dictionary key that is not a string
// without NUL, a nest deeper than maxDepth or an expansion past the limits reads as nil.
id readBinaryPropertyList(std::string_view bytes, const PropertyListLimits& limits,
                          PropertyListMutability mutability);
