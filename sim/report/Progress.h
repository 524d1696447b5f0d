#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace sim {

// What a run prints: one result line per flow, always, and on a terminal a transient
// progress line ("[2/5] flows/x.yaml: step 3 of 9") rewritten in place and cleared
// before each result. Piped output holds the result lines only.
class Progress {
public:
    Progress(std::ostream& out, bool interactive) : out_(out), interactive_(interactive) {}
    // Progress on standard output when it is a terminal.
    static Progress onStandardOutput();

    void flowStarted(const std::string& file, std::size_t index, std::size_t flows, std::size_t steps);
    void stepFinished();
    void result(const std::string& line);

private:
    void redraw();
    void clear();

    std::ostream& out_;
    bool interactive_;
    bool shown_ = false;
    std::string flow_;
    std::size_t index_ = 0;
    std::size_t flows_ = 0;
    std::size_t step_ = 0;
    std::size_t steps_ = 0;
};

} // namespace sim
