// Draws Lexorna's Share icon: a tray open at the top with an arrow rising out of it,
// in light strokes on a transparent ground, 31 points square at 3x. The picture in
// tweak/resources is what ships; this program is how it was made.
//
//   make-share-icon PATH.png

#include <cairo.h>

#include <cstdio>
#include <numbers>

namespace {

constexpr double Points = 31;
constexpr double Scale = 3;
constexpr double StrokeWidth = 2;

// The tray: a rounded square whose top edge leaves room for the arrow.
void traceTray(cairo_t* cr) {
    constexpr double left = 7, right = 24, top = 12, bottom = 28, radius = 3, gapLeft = 12, gapRight = 19;
    constexpr double quarter = std::numbers::pi / 2;
    cairo_move_to(cr, gapLeft, top);
    cairo_line_to(cr, left + radius, top);
    cairo_arc_negative(cr, left + radius, top + radius, radius, -quarter, -2 * quarter);
    cairo_line_to(cr, left, bottom - radius);
    cairo_arc_negative(cr, left + radius, bottom - radius, radius, 2 * quarter, quarter);
    cairo_line_to(cr, right - radius, bottom);
    cairo_arc_negative(cr, right - radius, bottom - radius, radius, quarter, 0);
    cairo_line_to(cr, right, top + radius);
    cairo_arc_negative(cr, right - radius, top + radius, radius, 0, -quarter);
    cairo_line_to(cr, gapRight, top);
}

// The arrow: a shaft from inside the tray up past its top, and its head.
void traceArrow(cairo_t* cr) {
    constexpr double centre = 15.5, head = 3.5, tail = 20, wing = 4.5;
    cairo_move_to(cr, centre, tail);
    cairo_line_to(cr, centre, head);
    cairo_move_to(cr, centre - wing, head + wing);
    cairo_line_to(cr, centre, head);
    cairo_line_to(cr, centre + wing, head + wing);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH.png\n", argv[0]);
        return 2;
    }
    constexpr int side = static_cast<int>(Points * Scale);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, Scale, Scale);
    cairo_set_line_width(cr, StrokeWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    cairo_set_source_rgb(cr, 1, 1, 1);
    traceTray(cr);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.78, 0.9, 1);
    traceArrow(cr);
    cairo_stroke(cr);

    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_write_to_png(surface, argv[1]);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", argv[0], argv[1], cairo_status_to_string(status));
        return 1;
    }
    return 0;
}
