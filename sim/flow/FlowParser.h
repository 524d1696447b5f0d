#pragma once

#include "sim/flow/Flow.h"
#include "sim/flow/Variables.h"

#include "support/Expected.h"

#include <functional>
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

// The text of a flow file a runFlow names, or why there is none ("no such flow file").
using FlowFileReader = std::function<support::Expected<std::string, std::string>(const std::string& file)>;

struct FlowOptions {
    Variables variables;     // given from outside (-e NAME=VALUE): over each header's env
    FlowFileReader readFile; // where subflows come from; none: a runFlow finds no file
};

// A flow file's text from the disk: a regular file only.
support::Expected<std::string, std::string> readFlowFileFromDisk(const std::string& file);

// Reads a flow: a YAML header, `---`, then the steps. Settings and filter lists become
// the bytes of their files here, so a flow that parses can be played without further
// checks. Steps that need the app may not come before the first launch. A runFlow step
// becomes the steps of the flow it names (a file relative to the one that names it, or its
// own `commands`), played in its place; `${NAME}` in a value becomes the variable's value.
support::Expected<Flow, ParseError> parseFlow(std::string_view yaml, const std::string& file,
                                              const FlowOptions& options = {});
// The same for a file on the disk; its subflows too come from the disk unless the options
// say otherwise.
support::Expected<Flow, ParseError> parseFlowFile(const std::string& file, const FlowOptions& options = {});

} // namespace sim
