#include "TextPainter.h"
#include "SourceColor.h"

#include "foundation/NSString.h"
#include "uikit/TextSystem.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace sim::render {

void TextPainter::draw(cairo_t* cr, const TextBlock& block) {
    if (block.utf8.empty() || !(block.box.size.width > 0) || !(block.box.size.height > 0))
        return;
    TextLayoutHandle layout = makeTextLayout(block.utf8, {.pointSize = block.pointSize,
                                                          .width = block.box.size.width,
                                                          .alignment = block.alignment,
                                                          .truncates = block.truncates,
                                                          .maximumLines = block.maximumLines,
                                                          .height = block.box.size.height});
    if (block.selectionLength > 0) {
        std::string_view text = pango_layout_get_text(layout.get());
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
    // Drawn through the surface's transform; the shared context measures untransformed again after.
    PangoContext* context = pango_layout_get_context(layout.get());
    pango_cairo_update_layout(cr, layout.get());
    pango_cairo_show_layout(cr, layout.get());
    pango_context_set_matrix(context, nullptr);
}

} // namespace sim::render
