#include "Screenshot.h"

#include "render/CairoHandles.h"
#include "render/TextPainter.h"
#include "render/ViewPainter.h"

#include "device/Expected.h"
#include "uikit/UIWindow.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace sim {

namespace {

using device::Expected;
using device::Unexpected;

// Well inside cairo's limit on an image surface's side.
constexpr double MaximumSidePixels = 16384;

cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
    return std::fwrite(data, 1, length, static_cast<std::FILE*>(closure)) == length
               ? CAIRO_STATUS_SUCCESS
               : CAIRO_STATUS_WRITE_ERROR;
}

// Through a file of our own rather than cairo_surface_write_to_png, so that a failure
// says what the system said, and a half-written picture does not stay behind.
Expected<void, std::string> writePng(cairo_surface_t* surface, const std::string& pngPath) {
    std::FILE* file = std::fopen(pngPath.c_str(), "wb");
    if (!file)
        return Unexpected("cannot write " + pngPath + ": " + std::strerror(errno));
    cairo_status_t status = cairo_surface_write_to_png_stream(surface, writeToFile, file);
    int writeError = std::ferror(file) ? errno : 0;
    if (std::fclose(file) != 0 && !writeError)
        writeError = errno;
    if (status == CAIRO_STATUS_SUCCESS && !writeError)
        return {};
    std::remove(pngPath.c_str());
    return Unexpected("cannot write " + pngPath + ": " +
                      (writeError ? std::strerror(writeError) : cairo_status_to_string(status)));
}

Expected<void, std::string> writeScreenshot(UIWindow* window, const std::string& pngPath, double scale) {
    if (!window)
        return Unexpected(std::string("there is no window to draw"));
    if (pngPath.empty() || pngPath.find('\0') != std::string::npos)
        return Unexpected("not a file path: \"" + pngPath + "\"");
    if (!std::isfinite(scale) || scale <= 0)
        return Unexpected("the scale must be a positive number, not " + std::to_string(scale));
    const CGSize size = window->bounds().size;
    const double width = std::ceil(size.width * scale);
    const double height = std::ceil(size.height * scale);
    if (!(width >= 1 && width <= MaximumSidePixels && height >= 1 && height <= MaximumSidePixels))
        return Unexpected("a window of " + std::to_string(size.width) + " by " + std::to_string(size.height) +
                          " points at scale " + std::to_string(scale) + " makes no picture of at most " +
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
        return Unexpected(std::string("cannot draw the window: ") + cairo_status_to_string(status));

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
