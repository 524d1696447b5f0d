// Any bytes as a flow file, as a user may hand the simulator: it parses or says why not.

#include "sim/flow/FlowParser.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto flow = sim::parseFlow(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.yaml");
    if (!flow)
        (void)flow.error().text();
    return 0;
}
