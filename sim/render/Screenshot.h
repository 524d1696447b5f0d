#pragma once

#include <string>

class UIWindow;

namespace sim {

// Draws the window and everything presented over it, as the screen shows them, into a
// PNG file at pngPath: scale pixels per point (2 draws as a 2x device does). False when
// there is nothing to draw, the scale or the picture's size is unusable, or the file
// cannot be written; *error (when given) then says why.
bool renderScreenshot(UIWindow* window, const std::string& pngPath, double scale, std::string* error);

} // namespace sim
