#include "sim/flow/Base64.h"

#include <cstdint>

namespace sim {

namespace {

int sextet(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

support::Expected<std::string, std::string> decodeBase64(std::string_view text) {
    std::string out;
    std::uint32_t bits = 0;
    int pending = 0; // sextets collected in `bits`
    int padding = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (isSpace(c))
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        int value = sextet(c);
        if (value < 0 || padding)
            return support::Unexpected(std::string("not base64 at offset ") + std::to_string(i));
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        if (++pending == 4) {
            out += static_cast<char>((bits >> 16) & 0xff);
            out += static_cast<char>((bits >> 8) & 0xff);
            out += static_cast<char>(bits & 0xff);
            bits = 0;
            pending = 0;
        }
    }
    // A final group of one sextet cannot hold a byte; padding must complete the group.
    if (pending == 1 || (padding && pending + padding != 4))
        return support::Unexpected(std::string("base64 text ends in the middle of a group"));
    if (pending == 2) {
        out += static_cast<char>((bits >> 4) & 0xff);
    } else if (pending == 3) {
        out += static_cast<char>((bits >> 10) & 0xff);
        out += static_cast<char>((bits >> 2) & 0xff);
    }
    return out;
}

std::string encodeBase64(std::string_view bytes) {
    static constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 2]);
        out += Alphabet[(group >> 18) & 63];
        out += Alphabet[(group >> 12) & 63];
        out += i + 1 < bytes.size() ? Alphabet[(group >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? Alphabet[group & 63] : '=';
    }
    return out;
}

} // namespace sim
