#pragma once

#include "CGGeometry.h"

#include <pango/pango.h>

#include <memory>
#include <string_view>

// The device's text system: one font, DejaVu Sans (every Debian machine has it), laid out
// by pango at 72 dpi without hinting, so a point size is that many points and the same
// text takes the same room on every machine. What measures text (the apps sizing their
// bubbles) and what draws it (the simulator's screenshots) both lay it out here, so the
// sizes in the view tree and the pixels agree.

struct TextLayoutRelease {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using TextLayoutHandle = std::unique_ptr<PangoLayout, TextLayoutRelease>;

// How a run of text is laid out.
struct TextStyle {
    double pointSize = 17;
    double width = 0;   // the text wraps at this width
    long alignment = 0; // NSTextAlignment: 0 left, 1 centre, 2 right, 3 justified, 4 natural
    // When set, text that does not fit ends in an ellipsis: 0 lines means as many as
    // `height` holds, otherwise at most that many.
    bool truncates = false;
    long maximumLines = 0;
    double height = 0;
};

// A layout of the text, malformed UTF-8 shown as replacement characters. Paragraphs take
// their direction from their first strong character.
TextLayoutHandle makeTextLayout(std::string_view utf8, const TextStyle& style);

// The room the text takes when wrapped at maxWidth, rounded up to whole points.
CGSize measuredTextSize(std::string_view utf8, double pointSize, double maxWidth);
