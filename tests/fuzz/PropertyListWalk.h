#pragma once

#include "objc/Object.h"

#include <cstddef>

// Visits every object of a property list read from hostile bytes as a consumer would
// (each container's elements, each string's characters, each number's value), so that
// a reader that handed out a half-built or dangling object is caught by the sanitizers.
// Shared objects are visited once per reference, which the readers' limits bound.
std::size_t walkPropertyList(id object);
