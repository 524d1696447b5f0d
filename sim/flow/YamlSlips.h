#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// A slip of indentation that a YAML reader reports only by its effect, often as "illegal
// map value" (a line indented deeper than the step before it joins that step's text).
struct IndentationSlip {
    std::size_t line = 0; // 1-based
    std::string message;  // "a tab is not allowed for indentation (indent with spaces)"
};

// Looks for the slip behind a YAML error at `errorLine` (1-based): a tab that indents a
// line at or before it, or the error's line indented unlike the line before it. Nothing
// when neither is there, so the reader's own message stands.
std::optional<IndentationSlip> indentationSlip(std::string_view yaml, std::size_t errorLine);

} // namespace sim
