#include "CGImage.h"

#include <cassert>

CGImage* CGImage::make(std::size_t width, std::size_t height, std::vector<std::uint32_t> pixels) {
    assert(pixels.size() == width * height);
    auto* image = objc::make<CGImage>(staticClass());
    image->width_ = width;
    image->height_ = height;
    image->pixels_ = std::move(pixels);
    return image;
}

Class CGImage::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<CGImage>("CGImage", NSObject::staticClass());
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
