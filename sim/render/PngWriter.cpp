#include "PngWriter.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <vector>

namespace sim::render {

namespace {

constexpr std::array<unsigned char, 8> Signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr unsigned char ColorTypeRgb = 2;
constexpr unsigned char FilterNone = 0;

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift : {24, 16, 8, 0})
        out += static_cast<char>((value >> shift) & 0xFF);
}

// A chunk: its length, type and data, then the CRC of type and data.
void appendChunk(std::string& out, const char (&type)[5], const std::string& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    out += data;
    const auto* checked = reinterpret_cast<const Bytef*>(out.data() + typeAt);
    appendBigEndian(out, static_cast<std::uint32_t>(crc32(0, checked, static_cast<uInt>(4 + data.size()))));
}

class Deflater {
public:
    Deflater() { ok_ = deflateInit(&stream_, Z_BEST_SPEED) == Z_OK; }
    ~Deflater() { deflateEnd(&stream_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    bool ok() const { return ok_; }

    // Compresses `input` onto out; `last` ends the stream.
    bool add(const std::vector<unsigned char>& input, bool last, std::string& out) {
        stream_.next_in = const_cast<Bytef*>(input.data());
        stream_.avail_in = static_cast<uInt>(input.size());
        unsigned char buffer[1 << 16];
        int status = Z_OK;
        do {
            stream_.next_out = buffer;
            stream_.avail_out = sizeof buffer;
            status = deflate(&stream_, last ? Z_FINISH : Z_NO_FLUSH);
            if (status == Z_STREAM_ERROR)
                return false;
            out.append(reinterpret_cast<const char*>(buffer), sizeof buffer - stream_.avail_out);
        } while (stream_.avail_out == 0 || (last && status != Z_STREAM_END));
        return true;
    }

private:
    z_stream stream_{};
    bool ok_ = false;
};

} // namespace

support::Expected<std::string, std::string> encodePng(cairo_surface_t* surface) {
    if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_RGB24)
        return support::Unexpected(std::string("only an opaque picture (RGB24) is written as PNG"));
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    if (width < 1 || height < 1)
        return support::Unexpected(std::string("a picture of no pixels is no PNG"));
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);

    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(width));
    appendBigEndian(header, static_cast<std::uint32_t>(height));
    header += {8, static_cast<char>(ColorTypeRgb), 0, 0, 0}; // depth, colour, deflate, filters, no interlace

    Deflater deflater;
    if (!deflater.ok())
        return support::Unexpected(std::string("cannot start zlib"));
    std::string compressed;
    // A row as PNG stores it: its filter, then R, G, B of each pixel; cairo keeps each
    // pixel as a native-endian word 0x00RRGGBB.
    std::vector<unsigned char> row(1 + 3 * static_cast<std::size_t>(width));
    row[0] = FilterNone;
    for (int y = 0; y < height; ++y) {
        const auto* pixels =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        unsigned char* out = row.data() + 1;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = pixels[x];
            *out++ = static_cast<unsigned char>(pixel >> 16);
            *out++ = static_cast<unsigned char>(pixel >> 8);
            *out++ = static_cast<unsigned char>(pixel);
        }
        if (!deflater.add(row, y + 1 == height, compressed))
            return support::Unexpected(std::string("zlib cannot compress the picture"));
    }

    std::string png(Signature.begin(), Signature.end());
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", compressed);
    appendChunk(png, "IEND", "");
    return png;
}

} // namespace sim::render
