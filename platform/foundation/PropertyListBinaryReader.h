#pragma once

#include "PropertyList.h"

#include <string_view>

// Whether a binary property list ("bplist00") may be handed to libplist. libplist
// copies an object once for every reference to it and recurses once per level, so a
// small file whose objects share references can expand into gigabytes, and a reference
// cycle or a deep nest can exhaust the stack. This walks the object graph from the top
// object without building it, counting each object once (memoised), and answers false
// for a malformed trailer, offset table or object, an out-of-range reference, a cycle,
// or an expansion past the limits. A dictionary key must be a string without NUL:
// libplist aborts the process on reading such a key back.
bool binaryPropertyListWithinLimits(std::string_view bytes, const PropertyListLimits& limits);
