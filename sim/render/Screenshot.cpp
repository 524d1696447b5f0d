#include "sim/render/Screenshot.h"
#include "sim/report/OutputFile.h"

#include "sim/render/CairoHandles.h"
#include "sim/render/TextPainter.h"
#include "sim/render/ViewPainter.h"

#include "support/Expected.h"
#include "uikit/UIWindow.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace sim {

namespace {

using support::Expected;
using support::Unexpected;

// Well inside cairo's limit on an image surface's side.
constexpr double MaximumSidePixels = 16384;

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Encoded whole first, then written as one output file: a half-written picture never
// stays behind, and a link of the picture's name is replaced rather than written through.
support::Expected<void, std::string> writePng(cairo_surface_t* surface, const std::string& pngPath) {
    std::string png;
    if (cairo_status_t status = cairo_surface_write_to_png_stream(surface, appendBytes, &png);
        status != CAIRO_STATUS_SUCCESS)
        return support::Unexpected("cannot write " + pngPath + ": " + cairo_status_to_string(status));
    return writeOutputFile(pngPath, png);
}

support::Expected<void, std::string> writeScreenshot(UIWindow* window, const std::string& pngPath,
                                                     double scale) {
    if (!window)
        return support::Unexpected(std::string("there is no window to draw"));
    if (pngPath.empty() || pngPath.find('\0') != std::string::npos)
        return support::Unexpected("not a file path: \"" + pngPath + "\"");
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

    render::SurfaceHandle surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height)));
    render::ContextHandle cr(cairo_create(surface.get()));
    // The screen is black where no view covers it.
    cairo_set_source_rgb(cr.get(), 0, 0, 0);
    cairo_paint(cr.get());
    cairo_scale(cr.get(), scale, scale);
    render::TextPainter text;
    render::ViewPainter(cr.get(), text).paintWindow(window);
    if (cairo_status_t status = cairo_status(cr.get()); status != CAIRO_STATUS_SUCCESS)
        return support::Unexpected(std::string("cannot draw the window: ") + cairo_status_to_string(status));

    return writePng(surface.get(), pngPath);
}

} // namespace

bool renderScreenshot(UIWindow* window, const std::string& pngPath, double scale, std::string* error) {
    auto written = writeScreenshot(window, pngPath, scale);
    if (!written && error)
        *error = written.error();
    return written.hasValue();
}

} // namespace sim
