#pragma once

#include "CairoHandles.h"

#include "uikit/CGGeometry.h"

#include <pango/pangocairo.h>

#include <array>
#include <string_view>

namespace sim::render {

// A run of text to draw in a box, as a label or a text view lays it out.
struct TextBlock {
    enum class Placement { Top, Centered };

    std::string_view utf8;
    double pointSize = 17;
    std::array<double, 4> color{0, 0, 0, 1};
    long alignment = 0; // NSTextAlignment: 0 left, 1 centre, 2 right, 3 justified, 4 natural
    CGRect box;         // the text wraps at its width
    Placement placement = Placement::Top;
    // 0: as many lines as the box holds; otherwise at most this many. Text that does not
    // fit ends in an ellipsis, as a label truncates its tail.
    long maximumLines = 0;
    bool truncates = true;
    // Selected text, in UTF-16 units as UIKit counts, shaded as iOS shades a selection.
    unsigned long selectionLocation = 0;
    unsigned long selectionLength = 0;
};

// Draws text as the device's text system lays it out (uikit/TextSystem), so that it
// takes the room the apps measured for it. A right-to-left paragraph starts at the right
// edge, as UIKit's natural alignment does.
class TextPainter {
public:
    void draw(cairo_t* cr, const TextBlock& block);
};

} // namespace sim::render
