#pragma once

#include "objc/Object.h"

#include <cstddef>
#include <string>
#include <string_view>

// Property lists in XML and binary form. Reading is bounded, so that a hostile or
// damaged file costs bounded time and memory: a file over maxBytes, nesting deeper than
// maxDepth, more than maxNodes objects, or a binary list whose shared objects would
// expand past maxNodes objects or maxExpandedBytes of strings and data reads as
// unreadable (nil).
// A settings file is read on every layout pass of every hooked view, so the bounds keep
// the worst read within about a twentieth of a millisecond of the settings pane's own
// file (some 600 bytes, 23 objects); time grows with the bytes and the objects read
// (bench/HostileSettingsBench.cpp).
struct PropertyListLimits {
    std::size_t maxBytes = 16 << 10;
    std::size_t maxDepth = 512;
    std::size_t maxNodes = 1024;
    std::size_t maxExpandedBytes = 4 << 20;
};

// Whether a root dictionary comes as an NSMutableDictionary, as
// -[NSMutableDictionary initWithContentsOfFile:] answers it; what it holds is immutable
// either way.
enum class PropertyListMutability { Immutable, MutableRoot };

// The objects of a property list (NSDictionary, NSArray, NSString, NSNumber for
// integers, reals and booleans, NSData, NSDate), or nil when the bytes are unreadable.
id propertyListFromBytes(std::string_view bytes, const PropertyListLimits& limits = {},
                         PropertyListMutability mutability = PropertyListMutability::Immutable);
id propertyListWithContentsOfFile(std::string_view devicePath, const PropertyListLimits& limits = {},
                                  PropertyListMutability mutability = PropertyListMutability::Immutable);

enum class PropertyListFormat { Xml, Binary };
// The bytes of a property list of those objects; empty for an object a property list
// cannot hold.
std::string serializePropertyList(id root, PropertyListFormat format);
