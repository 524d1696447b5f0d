#pragma once

#include "sim/flow/Flow.h"

#include "support/Expected.h"

#include <string>
#include <string_view>

namespace sim {

// Why a flow file does not parse: where (1-based line; 0 when the file could not be read
// at all) and what was expected there.
struct ParseError {
    std::string file;
    std::size_t line = 0;
    std::string message;

    // "flows/x.yaml:7: tapOn: expected a selector (...)"
    std::string text() const;
};

// Reads a flow: a YAML header, `---`, then the steps. Settings and filter lists become
// the bytes of their files here, so a flow that parses can be played without further
// checks. Steps that need the app may not come before the first launch.
support::Expected<Flow, ParseError> parseFlow(std::string_view yaml, const std::string& file);
support::Expected<Flow, ParseError> parseFlowFile(const std::string& file);

} // namespace sim
