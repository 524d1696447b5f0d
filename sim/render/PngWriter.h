#pragma once

#include "support/Expected.h"

#include <cairo.h>

#include <string>

namespace sim::render {

// The bytes of a PNG file of an opaque picture (a cairo image surface of format RGB24):
// 8-bit RGB, every pixel as drawn. Compressed for speed rather than size: zlib's fastest
// level, which on screenshots, large areas of one colour, costs a fraction of cairo's
// own writer for files a little larger. An error for a surface of another format.
support::Expected<std::string, std::string> encodePng(cairo_surface_t* surface);

} // namespace sim::render
