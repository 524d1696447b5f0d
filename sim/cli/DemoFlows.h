#pragma once

#include <span>
#include <string_view>

namespace sim {

// Where the demo's flows lie in the source tree: the flows it plays, and in folders below
// the subflows they run.
inline constexpr std::string_view DemoFolder = "examples/flows";

// A flow file built into the simulator, so that the demo plays from any folder.
struct EmbeddedFlow {
    std::string_view file; // as the source tree names it: "examples/flows/whatsapp.yaml"
    std::string_view text;
};

// examples/flows/**/*.yaml as they were when the simulator was built, by file name.
std::span<const EmbeddedFlow> demoFlows();

} // namespace sim
