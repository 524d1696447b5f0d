#include "UIImage.h"

#include "device/Files.h"
#include "foundation/NSString.h"

#include <cairo.h>

#include <cstring>
#include <map>
#include <memory>
#include <optional>

namespace {

// Bounds on what a file may cost: a picture that would not fit a phone's memory is
// refused rather than decoded.
constexpr std::size_t MaximumFileBytes = 32 << 20;
constexpr std::size_t MaximumPixels = 8192 * 8192;

struct Bitmap {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::uint32_t> pixels;
};

// The width and height in a PNG's header, read before decoding.
std::optional<std::pair<std::size_t, std::size_t>> pngDimensions(std::string_view bytes) {
    static constexpr unsigned char Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 24 || std::memcmp(bytes.data(), Signature, 8) != 0 || bytes.substr(12, 4) != "IHDR")
        return std::nullopt;
    auto bigEndian = [&](std::size_t at) {
        std::size_t value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    return std::pair{bigEndian(16), bigEndian(20)};
}

struct PngReader {
    std::string_view bytes;
    std::size_t offset = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<PngReader*>(closure);
    if (reader->bytes.size() - reader->offset < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

std::optional<Bitmap> decodePng(std::string_view bytes) {
    auto dimensions = pngDimensions(bytes);
    if (!dimensions || dimensions->first == 0 || dimensions->second == 0 ||
        dimensions->first * dimensions->second > MaximumPixels)
        return std::nullopt;
    PngReader reader{bytes};
    Surface decoded(cairo_image_surface_create_from_png_stream(readPng, &reader), cairo_surface_destroy);
    if (cairo_surface_status(decoded.get()) != CAIRO_STATUS_SUCCESS)
        return std::nullopt;
    int width = cairo_image_surface_get_width(decoded.get());
    int height = cairo_image_surface_get_height(decoded.get());
    // Whatever the file's colour type, the bitmap is ARGB32: paint it onto one.
    Surface argb(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
    if (cairo_surface_status(argb.get()) != CAIRO_STATUS_SUCCESS)
        return std::nullopt;
    cairo_t* cr = cairo_create(argb.get());
    cairo_set_source_surface(cr, decoded.get(), 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(argb.get());

    Bitmap bitmap{static_cast<std::size_t>(width), static_cast<std::size_t>(height), {}};
    bitmap.pixels.resize(bitmap.width * bitmap.height);
    const unsigned char* data = cairo_image_surface_get_data(argb.get());
    int stride = cairo_image_surface_get_stride(argb.get());
    for (std::size_t row = 0; row < bitmap.height; ++row)
        std::memcpy(bitmap.pixels.data() + row * bitmap.width, data + row * static_cast<std::size_t>(stride),
                    bitmap.width * sizeof(std::uint32_t));
    return bitmap;
}

std::map<std::string, objc::Ref<UIImage>, std::less<>>& imageCache() {
    // Lives as long as the process, like the system's cache.
    static auto* cache = new std::map<std::string, objc::Ref<UIImage>, std::less<>>;
    return *cache;
}

} // namespace

UIImage* UIImage::imageNamed(std::string_view name) {
    if (name.empty() || name.front() != '/')
        return nullptr;
    auto& cache = imageCache();
    if (auto it = cache.find(name); it != cache.end())
        return it->second.get();
    auto bytes = device::readFile(name, MaximumFileBytes);
    if (!bytes)
        return nullptr;
    auto bitmap = decodePng(*bytes);
    if (!bitmap)
        return nullptr;
    auto* image = objc::make<UIImage>(staticClass());
    image->path_ = name;
    image->size_ = CGSize{static_cast<double>(bitmap->width), static_cast<double>(bitmap->height)};
    image->bitmap_ = CGImage::make(bitmap->width, bitmap->height, std::move(bitmap->pixels));
    cache.emplace(std::string(name), image);
    return image;
}

Class UIImage::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIImage>("UIImage", NSObject::staticClass());
        objc::addClassMethod(
            c, "imageNamed:", +[](id, SEL, id name) -> id {
                return name ? UIImage::imageNamed(utf8Of(name)) : nullptr;
            });
        objc::addMethod(
            c, "size", +[](id image, SEL) -> CGSize { return static_cast<UIImage*>(image)->size(); });
        objc::addMethod(
            c, "scale", +[](id image, SEL) -> double { return static_cast<UIImage*>(image)->scale(); });
        objc::addMethod(
            c, "CGImage", +[](id image, SEL) -> id { return static_cast<UIImage*>(image)->cgImage(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}
