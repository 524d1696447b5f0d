#pragma once

#include "CairoHandles.h"
#include "TextPainter.h"

#include <cairo.h>

class UIView;
class UIWindow;

namespace sim::render {

// Draws a window's view tree onto a cairo context whose user units are points, each
// view as its layer would show it: backgrounds and contents in the rounded outline,
// subviews back to front, clipped when the view clips, and the border on top. Hidden
// views, transparent ones and views without a frame (CGRectNull) are left out with
// everything inside them.
class ViewPainter {
public:
    ViewPainter(cairo_t* cr, TextPainter& text) : cr_(cr), text_(text) {}

    // The window at the origin. Before the view of each presented controller, what is
    // drawn so far is dimmed, as UIKit dims the presenter behind a presentation; behind a
    // page sheet it also recedes.
    void paintWindow(UIWindow* window);

private:
    enum class Level { Window, Subview };

    // The view in its own coordinates: the current origin is its top-left corner.
    void paintView(UIView* view, Level level);
    void paintContent(UIView* view);
    void paintSubviews(UIView* view, Level level);
    void paintBorder(UIView* view);
    void dimEverything();
    // Draws what was drawn aside below a page sheet again, receded and dimmed.
    void recede(CGRect bounds, cairo_surface_t* below);

    // A picture of the screen's size, and a context that draws into it as `screen` draws,
    // for what lies below a page sheet. Unlike cairo's groups its memory takes few page
    // faults (makePicture): two groups of the screen's size cost a fresh process more
    // than drawing the screen.
    class Aside {
    public:
        explicit Aside(cairo_t* screen);
        cairo_t* context() const { return context_.get(); }
        cairo_surface_t* picture() const { return picture_.get(); }

    private:
        SurfaceHandle picture_;
        ContextHandle context_;
    };

    cairo_t* cr_;
    TextPainter& text_;
};

} // namespace sim::render
