#include "ImagePainter.h"
#include "CairoHandles.h"

#include "uikit/CGImage.h"

#include <cstring>

namespace sim::render {

namespace {

// The bitmap as a cairo surface: both are ARGB32 with premultiplied alpha, so rows copy
// as they are.
SurfaceHandle surfaceOf(const CGImage& image) {
    const int width = static_cast<int>(image.width());
    const int height = static_cast<int>(image.height());
    SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface.get()));
    const std::size_t rowBytes = image.width() * sizeof(std::uint32_t);
    for (std::size_t row = 0; row < image.height(); ++row)
        std::memcpy(data + row * stride, image.pixels().data() + row * image.width(), rowBytes);
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

} // namespace

void drawImageStretched(cairo_t* cr, const CGImage& image, CGRect rect) {
    if (image.width() == 0 || image.height() == 0 || image.pixels().size() < image.width() * image.height() ||
        !(rect.size.width > 0) || !(rect.size.height > 0))
        return;
    SurfaceHandle surface = surfaceOf(image);
    if (!surface)
        return;
    SavedState saved(cr);
    cairo_rectangle(cr, rect.minX(), rect.minY(), rect.size.width, rect.size.height);
    cairo_clip(cr);
    cairo_translate(cr, rect.minX(), rect.minY());
    cairo_scale(cr, rect.size.width / static_cast<double>(image.width()),
                rect.size.height / static_cast<double>(image.height()));
    cairo_set_source_surface(cr, surface.get(), 0, 0);
    // Edge pixels repeat outwards, so a stretched picture does not fade at its border.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
}

} // namespace sim::render
