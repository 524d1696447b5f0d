#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// A PNG file's pixels as premultiplied 0xAARRGGBB words, row by row, for comparing
// pictures and for writing the ones that tests load.
struct PngImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }

    // cairo writes opaque pictures without alpha, so they read back as RGB24: the same
    // words, with an unused top byte that is made opaque here.
    static std::optional<PngImage> read(const std::filesystem::path& file) {
        cairo_surface_t* surface = cairo_image_surface_create_from_png(file.c_str());
        std::optional<PngImage> image;
        const cairo_format_t format = cairo_image_surface_get_format(surface);
        if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
            (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24)) {
            image =
                PngImage{cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface), {}};
            const unsigned char* data = cairo_image_surface_get_data(surface);
            for (int y = 0; y < image->height; ++y) {
                const auto* row = reinterpret_cast<const std::uint32_t*>(
                    data + static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface));
                for (int x = 0; x < image->width; ++x)
                    image->pixels.push_back(format == CAIRO_FORMAT_RGB24 ? row[x] | 0xFF000000 : row[x]);
            }
        }
        cairo_surface_destroy(surface);
        return image;
    }

    bool write(const std::filesystem::path& file) const {
        const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
        std::vector<unsigned char> data(static_cast<std::size_t>(stride) * height);
        for (int y = 0; y < height; ++y)
            std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width, width,
                        reinterpret_cast<std::uint32_t*>(data.data() + static_cast<std::size_t>(y) * stride));
        cairo_surface_t* surface =
            cairo_image_surface_create_for_data(data.data(), CAIRO_FORMAT_ARGB32, width, height, stride);
        bool written = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        return written;
    }
};
