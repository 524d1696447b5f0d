#include "TextPainter.h"
#include "SourceColor.h"

#include "foundation/NSString.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace sim::render {

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

int pangoUnits(double userUnits) {
    return static_cast<int>(std::lround(userUnits * PANGO_SCALE));
}

// Pango takes only valid UTF-8; a host's text may hold anything, so malformed bytes
// become replacement characters rather than cutting the text short.
std::string validUtf8(std::string_view text) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

} // namespace

TextPainter::TextPainter()
    : fontMap_(pango_cairo_font_map_new()), context_(pango_font_map_create_context(fontMap_.get())) {
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap_.get()), 72);

    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context_.get(), options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context_.get(), false);
    // The language picks fallback fonts; the machine's locale must not.
    pango_context_set_language(context_.get(), pango_language_from_string("en-us"));
}

void TextPainter::draw(cairo_t* cr, const TextBlock& block) {
    if (block.utf8.empty() || !(block.box.size.width > 0) || !(block.box.size.height > 0))
        return;
    pango_cairo_update_context(cr, context_.get());
    GObjectHandle<PangoLayout> layout(pango_layout_new(context_.get()));

    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family_static(font, FontFamily);
    double pointSize = std::isnan(block.pointSize) ? SmallestPointSize : block.pointSize;
    pango_font_description_set_size(font,
                                    pangoUnits(std::clamp(pointSize, SmallestPointSize, LargestPointSize)));
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);

    pango_layout_set_width(layout.get(), pangoUnits(block.box.size.width));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout.get(), pangoAlignment(block.alignment));
    pango_layout_set_justify(layout.get(), block.alignment == 3);
    if (block.truncates) {
        pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
        // A negative height counts lines, a positive one is the room the lines must fit.
        pango_layout_set_height(layout.get(), block.maximumLines > 0
                                                  ? -static_cast<int>(std::min(block.maximumLines, 10000L))
                                                  : pangoUnits(block.box.size.height));
    }
    std::string text = validUtf8(block.utf8);
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    if (block.selectionLength > 0) {
        // iOS's selection: the system blue at a fifth of its strength behind the text.
        auto start = utf8OffsetOfUtf16(text, block.selectionLocation);
        auto end = utf8OffsetOfUtf16(text, block.selectionLocation + block.selectionLength);
        PangoAttrList* attributes = pango_attr_list_new();
        for (PangoAttribute* attribute :
             {pango_attr_background_new(0, 0x7a7a, 0xffff), pango_attr_background_alpha_new(0x4000)}) {
            attribute->start_index = static_cast<guint>(start);
            attribute->end_index = static_cast<guint>(end);
            pango_attr_list_insert(attributes, attribute);
        }
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }

    double top = block.box.minY();
    if (block.placement == TextBlock::Placement::Centered) {
        PangoRectangle logical;
        pango_layout_get_extents(layout.get(), nullptr, &logical);
        double height = static_cast<double>(logical.height) / PANGO_SCALE;
        // Text taller than the box keeps its first line at the top.
        top += std::max(0.0, (block.box.size.height - height) / 2);
    }
    cairo_move_to(cr, block.box.minX(), top);
    setSourceColor(cr, block.color);
    pango_cairo_show_layout(cr, layout.get());
}

} // namespace sim::render
