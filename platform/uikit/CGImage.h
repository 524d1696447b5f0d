#pragma once

#include "foundation/NSObject.h"

#include <cstdint>
#include <vector>

// A bitmap: what an image draws and what a layer's contents take. Pixels are cairo's
// ARGB32 (premultiplied alpha, native byte order), row after row without padding.
class CGImage : public NSObject {
    OBJC_NATIVE_CLASS(CGImage) : NSObject(isa) {}

    static CGImage* make(std::size_t width, std::size_t height, std::vector<std::uint32_t> pixels);

    std::size_t width() const { return width_; }
    std::size_t height() const { return height_; }
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }

private:
    std::size_t width_ = 0;
    std::size_t height_ = 0;
    std::vector<std::uint32_t> pixels_;
};
