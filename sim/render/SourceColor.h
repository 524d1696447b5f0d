#pragma once

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace sim::render {

// Sets an [r, g, b, a] colour as the source. Components outside 0…1 (an app may compute
// them) are clamped, as Core Graphics does, and a component that is not a number is 0.
inline void setSourceColor(cairo_t* cr, const std::array<double, 4>& rgba) {
    auto clamp = [](double value) { return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0); };
    cairo_set_source_rgba(cr, clamp(rgba[0]), clamp(rgba[1]), clamp(rgba[2]), clamp(rgba[3]));
}

} // namespace sim::render
