// The text system measures text as it lays it out for drawing: at its measured width a
// text keeps its lines, so a bubble sized by measuring never breaks its own text.

#include "uikit/TextSystem.h"

#include <gtest/gtest.h>

namespace {

int linesAt(std::string_view text, double pointSize, double width) {
    auto layout = makeTextLayout(text, {.pointSize = pointSize, .width = width});
    return pango_layout_get_line_count(layout.get());
}

} // namespace

TEST(TextSystem, TextKeepsItsLinesAtTheWidthMeasuredForIt) {
    for (const char* text :
         {"ok", "hey", "How are you?", "Grüße 👋🏽", "שלום עולם", "e\u0301", "two\nlines"}) {
        for (double size : {12.5, 17.0}) {
            CGSize measured = measuredTextSize(text, size, 10000);
            int paragraphs = std::string_view(text).find('\n') == std::string_view::npos ? 1 : 2;
            EXPECT_EQ(linesAt(text, size, measured.width), paragraphs) << text << " at " << size;
            EXPECT_GT(measured.height, size) << text;
        }
    }
    // A text wider than the room wraps, and takes the height of its lines.
    CGSize wide = measuredTextSize("Yes! Table for four at 8, the address is 12 Harbour Street", 17, 10000);
    CGSize wrapped =
        measuredTextSize("Yes! Table for four at 8, the address is 12 Harbour Street", 17, wide.width / 2);
    EXPECT_LE(wrapped.width, wide.width / 2 + 1);
    EXPECT_GE(wrapped.height, 2 * measuredTextSize("Yes!", 17, 10000).height - 1);
}
