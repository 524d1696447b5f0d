#include "TextSize.h"

#include <algorithm>
#include <cmath>

namespace apps {

namespace {

// Decodes the code point at `i` and moves past it; a malformed byte counts as one
// narrow character.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    auto byte = static_cast<unsigned char>(text[i++]);
    int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    char32_t point = extra == 3 ? byte & 0x07 : extra == 2 ? byte & 0x0F : extra == 1 ? byte & 0x1F : byte;
    for (; extra > 0 && i < text.size(); --extra, ++i) {
        auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return '?';
        point = (point << 6) | (next & 0x3F);
    }
    return point;
}

double advance(char32_t point) {
    // Combining marks and joiners (accents, emoji sequences) add no width of their own.
    if ((point >= 0x0300 && point <= 0x036F) || point == 0x200D || (point >= 0xFE00 && point <= 0xFE0F))
        return 0;
    return point >= 0x2E80 ? 1.0 : 0.55;
}

} // namespace

CGSize estimatedTextSize(std::string_view utf8, double fontSize, double maxWidth) {
    const double lineHeight = std::ceil(fontSize * 1.25);
    double widest = 0;
    double lines = 0;
    double lineWidth = 0;
    auto endLine = [&] {
        widest = std::max(widest, std::min(lineWidth, maxWidth));
        lines += std::max(1.0, std::ceil(lineWidth / maxWidth));
        lineWidth = 0;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t point = nextCodePoint(utf8, i);
        if (point == '\n')
            endLine();
        else
            lineWidth += advance(point) * fontSize;
    }
    endLine();
    return {std::ceil(widest), lines * lineHeight};
}

} // namespace apps
