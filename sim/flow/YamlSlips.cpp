#include "sim/flow/YamlSlips.h"

#include <vector>

namespace sim {

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A tab where a line's indentation stands: before its first character, or between a
// list item's `-` and what follows it.
bool tabIndents(std::string_view line) {
    std::size_t at = line.find_first_not_of(' ');
    if (at == std::string_view::npos)
        return false;
    if (line[at] == '\t')
        return true;
    while (at < line.size() && line[at] == '-' && at + 1 < line.size() &&
           (line[at + 1] == ' ' || line[at + 1] == '\t')) {
        at = line.find_first_not_of(' ', at + 1);
        if (at == std::string_view::npos)
            return false;
        if (line[at] == '\t')
            return true;
    }
    return false;
}

bool blankOrComment(std::string_view line) {
    std::size_t at = line.find_first_not_of(" \t");
    return at == std::string_view::npos || line[at] == '#';
}

std::size_t indentOf(std::string_view line) {
    return line.find_first_not_of(' ');
}

// A line after which a deeper one continues it: a key or item left open (`tapOn:`), or a
// flow collection not yet closed (`{id: x,`).
bool opensBlock(std::string_view line) {
    if (auto comment = line.find(" #"); comment != std::string_view::npos)
        line = line.substr(0, comment);
    auto end = line.find_last_not_of(" \t");
    return end != std::string_view::npos && std::string_view(":,[{|>").find(line[end]) != std::string_view::npos;
}

bool isItem(std::string_view line) {
    std::string_view rest = line.substr(indentOf(line));
    return rest == "-" || rest.starts_with("- ");
}

} // namespace

std::optional<IndentationSlip> indentationSlip(std::string_view yaml, std::size_t errorLine) {
    const auto lines = linesOf(yaml);
    if (errorLine == 0 || errorLine > lines.size())
        return std::nullopt;
    for (std::size_t k = 0; k < errorLine; ++k)
        if (tabIndents(lines[k]))
            return IndentationSlip{k + 1, "a tab is not allowed for indentation (indent with spaces)"};

    std::string_view line = lines[errorLine - 1];
    if (blankOrComment(line))
        return std::nullopt;
    std::size_t before = errorLine - 1; // 1-based number of the line before, once found
    while (before > 0 && blankOrComment(lines[before - 1]))
        --before;
    if (before == 0 || lines[before - 1] == "---")
        return std::nullopt;
    const std::size_t indent = indentOf(line), previous = indentOf(lines[before - 1]);
    if (indent == previous || (indent > previous && opensBlock(lines[before - 1])))
        return std::nullopt;
    if (indent < previous) {
        // Back to the level of an earlier line that holds the one before: no slip.
        for (std::size_t k = before; k > 0 && !lines[k - 1].starts_with("---"); --k) {
            if (blankOrComment(lines[k - 1]))
                continue;
            if (indentOf(lines[k - 1]) == indent)
                return std::nullopt;
            if (indentOf(lines[k - 1]) < indent)
                break;
        }
    }
    // In the list of steps, the line before is a step or part of one.
    bool steps = false;
    for (std::size_t k = 0; k + 1 < errorLine; ++k)
        steps = steps || lines[k] == "---" || lines[k].starts_with("--- ");
    const char* neighbour = steps && (isItem(line) || isItem(lines[before - 1])) ? "the step" : "the line";
    return IndentationSlip{errorLine, std::string("this line is indented differently from ") + neighbour +
                                          " before it (line " + std::to_string(before) + ")"};
}

} // namespace sim
