#pragma once

#include "PropertyList.h"

#include <optional>
#include <string>
#include <string_view>

// The text of an XML property list made ready for libplist, or nothing when its
// containers nest deeper than the limits allow: libplist's tree code recurses once per
// level. Tags, comments, CDATA sections, processing instructions and the document type
// are delimited exactly as libplist delimits them, so that what this counts is what
// libplist builds; on text where the two could part, libplist rejects the list.
//
// Decimal integers lose their leading zeros on the way: libplist reads "010" as octal
// and "08" as zero, where Foundation reads decimal digits.
std::optional<std::string> preparedXmlPropertyList(std::string_view xml, const PropertyListLimits& limits);
