#pragma once

#include "sim/render/CairoHandles.h"

#include "support/Expected.h"
#include "uikit/CGGeometry.h"

#include <optional>
#include <string>

class UIWindow;

namespace sim {

// Draws the window and everything presented over it, as the screen shows them, into an
// opaque picture (RGB24): scale pixels per point (2 draws as a 2x device does). With an
// area (points, in the window) only the pixels it touches, inside the screen. An error
// when there is nothing to draw or the scale or the picture's size is unusable.
support::Expected<render::SurfaceHandle, std::string> drawScreen(UIWindow* window, double scale,
                                                                 std::optional<CGRect> area = std::nullopt);

// Writes a drawn picture as a PNG file, whole or not at all; a link of its name is
// replaced rather than written through.
support::Expected<void, std::string> writePicture(cairo_surface_t* picture, const std::string& pngPath);

// The screen drawn (drawScreen) and written (writePicture) to pngPath. False when either
// fails; *error (when given) then says why.
bool renderScreenshot(UIWindow* window, const std::string& pngPath, double scale, std::string* error);

} // namespace sim
