#include "RoundedRect.h"

#include <algorithm>
#include <numbers>

namespace sim::render {

void appendRoundedRect(cairo_t* cr, CGRect rect, double radius, unsigned long maskedCorners) {
    const double x = rect.minX(), y = rect.minY(), w = rect.size.width, h = rect.size.height;
    const double r = std::isfinite(radius) ? std::clamp(radius, 0.0, std::min(w, h) / 2) : 0.0;
    auto corner = [&](unsigned long bit) { return maskedCorners & bit ? r : 0.0; };
    const double topLeft = corner(1), topRight = corner(2), bottomLeft = corner(4), bottomRight = corner(8);
    constexpr double quarter = std::numbers::pi / 2;

    cairo_new_sub_path(cr);
    cairo_move_to(cr, x + topLeft, y);
    cairo_line_to(cr, x + w - topRight, y);
    if (topRight > 0)
        cairo_arc(cr, x + w - topRight, y + topRight, topRight, -quarter, 0);
    cairo_line_to(cr, x + w, y + h - bottomRight);
    if (bottomRight > 0)
        cairo_arc(cr, x + w - bottomRight, y + h - bottomRight, bottomRight, 0, quarter);
    cairo_line_to(cr, x + bottomLeft, y + h);
    if (bottomLeft > 0)
        cairo_arc(cr, x + bottomLeft, y + h - bottomLeft, bottomLeft, quarter, 2 * quarter);
    cairo_line_to(cr, x, y + topLeft);
    if (topLeft > 0)
        cairo_arc(cr, x + topLeft, y + topLeft, topLeft, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

} // namespace sim::render
