#pragma once

#include "uikit/CGGeometry.h"

#include <cairo.h>

class CGImage;

namespace sim::render {

// Draws a bitmap stretched over rect, as a layer draws its contents and an image view
// its image (scale to fill).
void drawImageStretched(cairo_t* cr, const CGImage& image, CGRect rect);

} // namespace sim::render
