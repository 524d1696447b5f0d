#pragma once

#include <span>
#include <string_view>

namespace sim {

// A flow file built into the simulator, so that the demo plays from any folder.
struct EmbeddedFlow {
    std::string_view file; // as the source tree names it: "examples/flows/whatsapp-inline.yaml"
    std::string_view text;
};

// examples/flows/*.yaml as they were when the simulator was built, by file name.
std::span<const EmbeddedFlow> demoFlows();

} // namespace sim
