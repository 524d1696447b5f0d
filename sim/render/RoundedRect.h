#pragma once

#include "uikit/CGGeometry.h"

#include <cairo.h>

namespace sim::render {

// Adds to the current path the outline a layer draws and clips with: the rectangle with
// the corners named in maskedCorners (1 top-left, 2 top-right, 4 bottom-left, 8
// bottom-right) rounded by radius. A radius larger than half the shorter side is
// reduced to it, so the outline never crosses itself.
void appendRoundedRect(cairo_t* cr, CGRect rect, double radius, unsigned long maskedCorners);

} // namespace sim::render
