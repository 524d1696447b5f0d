#pragma once

#include "objc/Object.h"

// The boolean reading of a property list value, for readers that must not fail on any
// value a file may hold: a number or a boolean reads as -boolValue does (true when not
// zero), a string as -[NSString boolValue] does, nil and everything else (array,
// dictionary, data, date), which does not respond to -boolValue, as false.
bool plistBoolValue(id value);
