#pragma once

#include "uikit/CGGeometry.h"

#include <string_view>

namespace apps {

// The size a text takes in the system font when wrapped at maxWidth, estimated the
// way the apps size their bubbles before the text is drawn: Latin, Greek, Hebrew or
// Arabic letters take about half the font size, wide scripts and emoji a full one.
// Explicit line breaks start new lines.
CGSize estimatedTextSize(std::string_view utf8, double fontSize, double maxWidth);

} // namespace apps
