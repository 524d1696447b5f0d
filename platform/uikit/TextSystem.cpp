#include "TextSystem.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr const char* FontFamily = "DejaVu Sans";
// Bounds on a font size, so that a size an app computed badly still lays out.
constexpr double SmallestPointSize = 1;
constexpr double LargestPointSize = 1000;

PangoAlignment pangoAlignment(long alignment) {
    switch (alignment) {
    case 1:
        return PANGO_ALIGN_CENTER;
    case 2:
        return PANGO_ALIGN_RIGHT;
    default:
        return PANGO_ALIGN_LEFT;
    }
}

int pangoUnits(double points) {
    return static_cast<int>(std::lround(points * PANGO_SCALE));
}

// One context for the process (per thread, as pango's objects are not shared between
// threads), set up once.
PangoContext* textContext() {
    thread_local PangoContext* context = [] {
        PangoFontMap* fontMap = pango_cairo_font_map_new();
        pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap), 72);
        PangoContext* made = pango_font_map_create_context(fontMap);
        g_object_unref(fontMap); // the context holds it
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(made, options);
        cairo_font_options_destroy(options);
        pango_context_set_round_glyph_positions(made, false);
        // The language picks fallback fonts; the machine's locale must not.
        pango_context_set_language(made, pango_language_from_string("en-us"));
        return made;
    }();
    return context;
}

} // namespace

TextLayoutHandle makeTextLayout(std::string_view utf8, const TextStyle& style) {
    TextLayoutHandle layout(pango_layout_new(textContext()));
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family_static(font, FontFamily);
    double pointSize = std::isnan(style.pointSize) ? SmallestPointSize : style.pointSize;
    pango_font_description_set_size(font,
                                    pangoUnits(std::clamp(pointSize, SmallestPointSize, LargestPointSize)));
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);

    pango_layout_set_width(layout.get(), style.width > 0 ? pangoUnits(style.width) : -1);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout.get(), pangoAlignment(style.alignment));
    pango_layout_set_justify(layout.get(), style.alignment == 3);
    if (style.truncates) {
        pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
        // A negative height counts lines, a positive one is the room the lines must fit.
        pango_layout_set_height(layout.get(), style.maximumLines > 0
                                                  ? -static_cast<int>(std::min(style.maximumLines, 10000L))
                                                  : pangoUnits(style.height));
    }
    // Pango takes only valid UTF-8; a host's text may hold anything.
    gchar* valid = g_utf8_make_valid(utf8.data(), static_cast<gssize>(utf8.size()));
    pango_layout_set_text(layout.get(), valid, -1);
    g_free(valid);
    return layout;
}

CGSize measuredTextSize(std::string_view utf8, double pointSize, double maxWidth) {
    auto layout = makeTextLayout(utf8, {.pointSize = pointSize, .width = maxWidth});
    PangoRectangle logical;
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    return {std::ceil(static_cast<double>(logical.width) / PANGO_SCALE),
            std::ceil(static_cast<double>(logical.height) / PANGO_SCALE)};
}
