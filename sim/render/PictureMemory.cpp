#include "PictureMemory.h"

#include <cstdint>
#include <sys/mman.h>

namespace sim::render {

namespace {

constexpr std::size_t HugePageBytes = std::size_t{2} << 20;

struct Mapping {
    void* address;
    std::size_t length;
};

const cairo_user_data_key_t MappingKey{};

void unmap(void* data) {
    auto* mapping = static_cast<Mapping*>(data);
    ::munmap(mapping->address, mapping->length);
    delete mapping;
}

std::size_t roundedUp(std::size_t bytes) {
    return (bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes;
}

} // namespace

SurfaceHandle makePicture(cairo_format_t format, int width, int height) {
    const int stride = cairo_format_stride_for_width(format, width);
    if (stride <= 0 || width <= 0 || height <= 0)
        return SurfaceHandle(cairo_image_surface_create(format, width, height)); // cairo says why not
    // Whole huge pages, from a boundary of one on.
    const std::size_t bytes = roundedUp(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    const std::size_t length = bytes + HugePageBytes;
    void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return SurfaceHandle(cairo_image_surface_create(format, width, height));
    auto* pixels = reinterpret_cast<unsigned char*>(roundedUp(reinterpret_cast<std::uintptr_t>(address)));
    // A hint: where huge pages are off, the memory is as any other.
    ::madvise(pixels, bytes, MADV_HUGEPAGE);
    SurfaceHandle surface(cairo_image_surface_create_for_data(pixels, format, width, height, stride));
    auto* mapping = new Mapping{address, length};
    if (cairo_surface_set_user_data(surface.get(), &MappingKey, mapping, unmap) != CAIRO_STATUS_SUCCESS)
        unmap(mapping);
    return surface;
}

} // namespace sim::render
