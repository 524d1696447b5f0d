#pragma once

#include "CairoHandles.h"

namespace sim::render {

// An image surface, zeroed (transparent black), whose pixels lie in a mapping of their
// own in huge pages where the system gives them. Every launch is a fresh process: there,
// memory for a screen of 2x pixels from malloc takes a page fault for each 4 KiB, about
// 1,300 of them, which cost more than drawing the screen; huge pages take three.
SurfaceHandle makePicture(cairo_format_t format, int width, int height);

} // namespace sim::render
