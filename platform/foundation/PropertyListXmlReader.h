#pragma once

#include "PropertyList.h"

#include <string_view>

// Reads an XML property list straight into Foundation objects, or nil.
//
// The document is a value, or a <plist> element holding one, with the XML declaration,
// a document type, comments and processing instructions around it. Values are <dict>
// (a <key> before each value), <array>, <string>, <integer> (decimal with leading zeros
// ignored, or hexadecimal after 0x), <real>, <true/>, <false/>, <date> (ISO 8601 in UTC)
// and <data> (base64). Text may hold the five predefined entities, character
// references, CDATA sections and comments. The reader recurses once per container and
// stops at maxDepth; a document of more than maxNodes values reads as nil too, so the
// work of one read is bounded by the limits, not by the file.
id readXmlPropertyList(std::string_view xml, const PropertyListLimits& limits,
                       PropertyListMutability mutability);
