#include "PictureComparison.h"

#include <cstdint>
#include <cstdlib>

namespace sim::render {

namespace {

// A pixel as an opaque-or-not 0xAARRGGBB word: RGB24 leaves the top byte undefined.
class PixelRows {
public:
    explicit PixelRows(cairo_surface_t* surface)
        : data_(cairo_image_surface_get_data(surface)), stride_(cairo_image_surface_get_stride(surface)),
          opaque_(cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24) {
        cairo_surface_flush(surface);
    }

    std::uint32_t at(int x, int y) const {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data_ + static_cast<std::ptrdiff_t>(y) * stride_);
        return opaque_ ? row[x] | 0xFF000000u : row[x];
    }

private:
    unsigned char* data_;
    int stride_;
    bool opaque_;
};

int channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

bool differs(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16, 24})
        if (std::abs(channel(a, shift) - channel(b, shift)) > ChannelTolerance)
            return true;
    return false;
}

} // namespace

PictureDifference comparePictures(cairo_surface_t* actual, cairo_surface_t* expected) {
    const int width = cairo_image_surface_get_width(actual);
    const int height = cairo_image_surface_get_height(actual);
    PictureDifference difference;
    difference.pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    difference.diff.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    cairo_surface_flush(difference.diff.get());
    const PixelRows actualRows(actual), expectedRows(expected);
    unsigned char* diffData = cairo_image_surface_get_data(difference.diff.get());
    const int diffStride = cairo_image_surface_get_stride(difference.diff.get());
    for (int y = 0; y < height; ++y) {
        auto* diffRow =
            reinterpret_cast<std::uint32_t*>(diffData + static_cast<std::ptrdiff_t>(y) * diffStride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = actualRows.at(x, y);
            if (differs(pixel, expectedRows.at(x, y))) {
                ++difference.differing;
                diffRow[x] = 0xFFFF0000;
                continue;
            }
            const int grey = (channel(pixel, 16) + channel(pixel, 8) + channel(pixel, 0)) / 3;
            const auto faded = static_cast<std::uint32_t>(192 + grey / 4);
            diffRow[x] = 0xFF000000 | faded << 16 | faded << 8 | faded;
        }
    }
    cairo_surface_mark_dirty(difference.diff.get());
    return difference;
}

support::Expected<SurfaceHandle, std::string> readPicture(const std::string& pngPath) {
    SurfaceHandle surface(cairo_image_surface_create_from_png(pngPath.c_str()));
    if (cairo_status_t status = cairo_surface_status(surface.get()); status != CAIRO_STATUS_SUCCESS)
        return support::Unexpected("cannot read " + pngPath + ": " + cairo_status_to_string(status));
    const cairo_format_t format = cairo_image_surface_get_format(surface.get());
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return support::Unexpected(pngPath + " holds pixels of a kind the comparison does not read");
    return surface;
}

} // namespace sim::render
