#include "sim/report/JunitReport.h"
#include "sim/report/MarkupText.h"
#include "sim/report/OutputFile.h"

#include <cstdio>

namespace sim {

namespace {

// Markup text without the control characters that XML 1.0 cannot hold at all.
std::string escaped(std::string_view text) {
    std::string kept;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
            kept += c;
    return markupEscaped(kept);
}
double secondsOf(const FlowReport& flow) {
    double seconds = 0;
    for (const auto& step : flow.earlySteps)
        seconds += step.seconds;
    for (const auto& launch : flow.launches)
        for (const auto& step : launch.steps)
            seconds += step.seconds;
    return seconds;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

} // namespace

std::string junitXml(const std::vector<FlowReport>& flows) {
    std::size_t failures = 0, skipped = 0;
    double total = 0;
    for (const auto& flow : flows) {
        failures += flow.ok() ? 0 : 1;
        skipped += flow.played() ? 0 : 1;
        total += secondsOf(flow);
    }
    const std::string counts = "tests=\"" + std::to_string(flows.size()) + "\" failures=\"" +
                               std::to_string(failures) + "\" skipped=\"" + std::to_string(skipped) +
                               "\" time=\"" + secondsText(total) + "\"";
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites " + counts +
                      ">\n  <testsuite name=\"lexorna-sim\" " + counts + ">\n";
    for (const auto& flow : flows) {
        xml += "    <testcase classname=\"lexorna-sim\" name=\"" + escaped(flow.name()) + "\" file=\"" +
               escaped(flow.file) + "\" time=\"" + secondsText(secondsOf(flow)) + "\"";
        if (flow.skipped) {
            xml += ">\n      <skipped message=\"" + escaped(*flow.skipped) + "\"/>\n    </testcase>\n";
            continue;
        }
        if (flow.ok()) {
            xml += "/>\n";
            continue;
        }
        xml += ">\n      <failure message=\"" + escaped(*flow.failure) + "\">" + escaped(*flow.failure) +
               "</failure>\n    </testcase>\n";
    }
    xml += "  </testsuite>\n</testsuites>\n";
    return xml;
}

support::Expected<void, std::string> writeJunit(const std::vector<FlowReport>& flows,
                                                const std::filesystem::path& file) {
    return writeOutputFile(file, junitXml(flows));
}

} // namespace sim
