#include "PropertyListXmlCheck.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// libplist's scanning with quotes skipped: a double-quoted run is passed over whole, and
// one left unterminated makes the list unreadable.
std::size_t findSkippingQuotes(std::string_view text, std::size_t from, std::string_view terminator) {
    for (std::size_t at = from; at < text.size();) {
        if (text.compare(at, terminator.size(), terminator) == 0)
            return at;
        if (text[at] == '"') {
            std::size_t close = text.find('"', at + 1);
            if (close == npos)
                return npos;
            at = close;
        }
        ++at;
    }
    return npos;
}
std::size_t findAnyOfSkippingQuotes(std::string_view text, std::size_t from, std::string_view characters) {
    for (std::size_t at = from; at < text.size(); ++at) {
        if (text[at] == '"') {
            at = text.find('"', at + 1);
            if (at == npos)
                return npos;
            continue;
        }
        if (characters.find(text[at]) != npos)
            return at;
    }
    return npos;
}

// The end (one past '>') of a document type declaration that starts at `from`, as
// libplist finds it: an internal subset in brackets ends at "]>".
std::size_t documentTypeEnd(std::string_view text, std::size_t from) {
    std::size_t at = from;
    for (;;) {
        at = findAnyOfSkippingQuotes(text, at, " \t\r\n[>");
        if (at == npos)
            return npos;
        if (text[at] == '>')
            return at + 1;
        if (text[at] == '[') {
            std::size_t end = findSkippingQuotes(text, at, "]>");
            return end == npos ? npos : end + 2;
        }
        while (at < text.size() && isSpace(text[at]))
            ++at;
    }
}

// An integer's text without the zeros that lead its decimal digits ("+007" is "+7"),
// whitespace and sign kept. "0", "0x1F" and "00x1" stay as they are.
std::string withoutLeadingZeros(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    std::size_t zeros = at;
    while (zeros < text.size() && text[zeros] == '0')
        ++zeros;
    if (zeros == at || zeros == text.size() || !isDigit(text[zeros]))
        return std::string(text);
    return std::string(text.substr(0, at)) + std::string(text.substr(zeros));
}

} // namespace

std::optional<std::string> preparedXmlPropertyList(std::string_view xml, const PropertyListLimits& limits) {
    std::string out;
    out.reserve(xml.size());
    std::size_t containers = 0;
    // libplist keeps a root <array/> or <dict/> open and puts the elements that follow
    // it inside, one level down.
    std::size_t rootLeftOpen = 0;
    std::size_t at = 0;
    auto copyThrough = [&](std::size_t end) {
        out.append(xml.substr(at, end - at));
        at = end;
    };
    while (at < xml.size()) {
        std::size_t open = xml.find('<', at);
        if (open == npos) {
            copyThrough(xml.size());
            break;
        }
        copyThrough(open);
        std::string_view rest = xml.substr(open);
        std::size_t end = npos;
        if (rest.starts_with("<?")) {
            end = findSkippingQuotes(xml, open + 1, "?>");
            end = end == npos ? npos : end + 2;
        } else if (rest.starts_with("<!--")) {
            end = xml.find("-->", open + 4);
            end = end == npos ? npos : end + 3;
        } else if (rest.starts_with("<![CDATA[")) {
            end = xml.find("]]>", open + 9);
            end = end == npos ? npos : end + 3;
        } else if (rest.starts_with("<!DOCTYPE")) {
            end = documentTypeEnd(xml, open + 9);
        } else if (rest.starts_with("<!")) {
            return std::nullopt; // libplist knows no other declaration
        }
        if (end != npos) {
            copyThrough(end);
            continue;
        }
        if (rest.starts_with("<!") || rest.starts_with("<?"))
            return std::nullopt; // unterminated

        // An element's tag: its name runs to white space or a bracket; the tag ends at
        // the next '>' outside double quotes and is empty when a '/' comes just before.
        std::size_t nameEnd = xml.find_first_of(" \r\n\t<>", open + 1);
        if (nameEnd == npos)
            return std::nullopt;
        std::size_t close = xml[nameEnd] == '>' ? nameEnd : findAnyOfSkippingQuotes(xml, nameEnd, "<>");
        if (close == npos || xml[close] != '>')
            return std::nullopt;
        bool empty = xml[close - 1] == '/';
        std::string_view name = xml.substr(open + 1, nameEnd - open - 1);
        if (empty && name.ends_with('/'))
            name.remove_suffix(1);
        copyThrough(close + 1);

        bool container = name == "array" || name == "dict";
        if (name == "/array" || name == "/dict") {
            if (containers > 0)
                --containers;
        } else if (container && !empty) {
            if (++containers + rootLeftOpen > limits.maxDepth)
                return std::nullopt;
        } else if (container && containers == 0) {
            rootLeftOpen = 1;
        } else if (name == "integer" && !empty) {
            std::size_t textEnd = xml.find('<', at);
            if (textEnd != npos && xml.substr(textEnd).starts_with("</integer")) {
                out += withoutLeadingZeros(xml.substr(at, textEnd - at));
                at = textEnd;
            }
        }
    }
    return out;
}
