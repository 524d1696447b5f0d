#include "sim/render/Screenshot.h"
#include "sim/report/OutputFile.h"

#include "sim/render/PictureMemory.h"
#include "sim/render/PngWriter.h"
#include "sim/render/TextPainter.h"
#include "sim/render/ViewPainter.h"

#include "uikit/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Well inside cairo's limit on an image surface's side.
constexpr double MaximumSidePixels = 16384;

} // namespace

support::Expected<render::SurfaceHandle, std::string> drawScreen(UIWindow* window, double scale,
                                                                 std::optional<CGRect> area) {
    if (!window)
        return support::Unexpected(std::string("there is no window to draw"));
    if (!std::isfinite(scale) || scale <= 0)
        return support::Unexpected("the scale must be a positive number, not " + std::to_string(scale));
    const CGSize size = window->bounds().size;
    const double width = std::ceil(size.width * scale);
    const double height = std::ceil(size.height * scale);
    if (!(width >= 1 && width <= MaximumSidePixels && height >= 1 && height <= MaximumSidePixels))
        return support::Unexpected("a window of " + std::to_string(size.width) + " by " +
                                   std::to_string(size.height) + " points at scale " + std::to_string(scale) +
                                   " makes no picture of at most " +
                                   std::to_string(static_cast<int>(MaximumSidePixels)) + " pixels a side");

    render::SurfaceHandle screen =
        render::makePicture(CAIRO_FORMAT_RGB24, static_cast<int>(width), static_cast<int>(height));
    {
        // The screen is black where no view covers it: so is a new picture.
        render::ContextHandle cr(cairo_create(screen.get()));
        cairo_scale(cr.get(), scale, scale);
        render::TextPainter text;
        render::ViewPainter(cr.get(), text).paintWindow(window);
        if (cairo_status_t status = cairo_status(cr.get()); status != CAIRO_STATUS_SUCCESS)
            return support::Unexpected(std::string("cannot draw the window: ") +
                                       cairo_status_to_string(status));
    }
    if (!area)
        return screen;

    // The pixels the area touches, on the screen. The whole screen is drawn first: a
    // receded screen behind a page sheet brings pixels from outside the area into it.
    const double left = std::max(0.0, std::floor(area->minX() * scale));
    const double top = std::max(0.0, std::floor(area->minY() * scale));
    const double right = std::min(width, std::ceil(area->maxX() * scale));
    const double bottom = std::min(height, std::ceil(area->maxY() * scale));
    if (!(right > left && bottom > top))
        return support::Unexpected(std::string("the area lies outside the screen"));
    render::SurfaceHandle part = render::makePicture(CAIRO_FORMAT_RGB24, static_cast<int>(right - left),
                                                     static_cast<int>(bottom - top));
    render::ContextHandle cr(cairo_create(part.get()));
    cairo_set_source_surface(cr.get(), screen.get(), -left, -top);
    cairo_paint(cr.get());
    return part;
}

support::Expected<void, std::string> writePicture(cairo_surface_t* picture, const std::string& pngPath) {
    if (pngPath.empty() || pngPath.find('\0') != std::string::npos)
        return support::Unexpected("not a file path: \"" + pngPath + "\"");
    auto png = render::encodePng(picture);
    if (!png)
        return support::Unexpected("cannot write " + pngPath + ": " + png.error());
    return writeOutputFile(pngPath, *png);
}

bool renderScreenshot(UIWindow* window, const std::string& pngPath, double scale, std::string* error) {
    auto drawn = drawScreen(window, scale);
    auto written = drawn ? writePicture(drawn->get(), pngPath)
                         : support::Expected<void, std::string>(support::Unexpected(drawn.error()));
    if (!written && error)
        *error = written.error();
    return written.hasValue();
}

} // namespace sim
