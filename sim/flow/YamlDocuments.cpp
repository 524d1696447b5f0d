#include "sim/flow/YamlDocuments.h"

#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/parser.h>

#include <sstream>
#include <string>

namespace sim {

namespace {

// Notes where each document starts and ignores what it holds.
class DocumentStarts : public YAML::EventHandler {
public:
    std::size_t count = 0;
    YAML::Mark last;

    void OnDocumentStart(const YAML::Mark& mark) override {
        ++count;
        last = mark;
    }
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark&, YAML::anchor_t) override {}
    void OnAlias(const YAML::Mark&, YAML::anchor_t) override {}
    void OnScalar(const YAML::Mark&, const std::string&, YAML::anchor_t, const std::string&) override {}
    void OnSequenceStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                         YAML::EmitterStyle::value) override {}
    void OnSequenceEnd() override {}
    void OnMapStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                    YAML::EmitterStyle::value) override {}
    void OnMapEnd() override {}
};

} // namespace

std::optional<YAML::Mark> startOfDocumentPast(std::string_view yaml, std::size_t limit) {
    std::istringstream stream{std::string(yaml)};
    YAML::Parser parser(stream);
    DocumentStarts starts;
    while (starts.count <= limit && parser.HandleNextDocument(starts)) {
    }
    if (starts.count <= limit)
        return std::nullopt;
    return starts.last;
}

} // namespace sim
