#pragma once

#include "sim/report/Report.h"

#include "support/Expected.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

// The run as JUnit XML, which CI systems read: one test case per flow, named by its file,
// with the first failure's message and where the flow file says it.
std::string junitXml(const std::vector<FlowReport>& flows);
support::Expected<void, std::string> writeJunit(const std::vector<FlowReport>& flows,
                                                const std::filesystem::path& file);

} // namespace sim
