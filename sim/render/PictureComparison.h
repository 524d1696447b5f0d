#pragma once

#include "sim/render/CairoHandles.h"

#include "support/Expected.h"

#include <cstddef>
#include <string>

namespace sim::render {

// A pixel differs when one of its channels differs by more than this, of 255: a shade of
// anti-aliasing is no difference, a moved edge or a recoloured view is.
constexpr int ChannelTolerance = 8;

// How an actual picture differs from the expected one of the same size.
struct PictureDifference {
    std::size_t differing = 0; // pixels that differ
    std::size_t pixels = 0;    // of all the picture's
    SurfaceHandle diff;        // the actual picture faded to a ghost, each differing pixel red

    double share() const { return pixels ? static_cast<double>(differing) / static_cast<double>(pixels) : 0; }
};

// Compares two image surfaces of the same size, each RGB24 or ARGB32.
PictureDifference comparePictures(cairo_surface_t* actual, cairo_surface_t* expected);

// A PNG file as an image surface; an error when it cannot be read as one.
support::Expected<SurfaceHandle, std::string> readPicture(const std::string& pngPath);

} // namespace sim::render
