#include "sim/report/Progress.h"

#include <iostream>
#include <unistd.h>

namespace sim {

Progress Progress::onStandardOutput() {
    return Progress(std::cout, ::isatty(STDOUT_FILENO) == 1);
}

void Progress::flowStarted(const std::string& file, std::size_t index, std::size_t flows, std::size_t steps) {
    flow_ = file;
    index_ = index;
    flows_ = flows;
    step_ = 0;
    steps_ = steps;
    redraw();
}

void Progress::stepFinished() {
    ++step_;
    redraw();
}

void Progress::result(const std::string& line) {
    clear();
    out_ << line << '\n' << std::flush;
}

void Progress::redraw() {
    if (!interactive_)
        return;
    clear();
    out_ << '[' << index_ + 1 << '/' << flows_ << "] " << flow_ << ": step " << step_ << " of " << steps_
         << std::flush;
    shown_ = true;
}

void Progress::clear() {
    if (shown_)
        out_ << "\r\033[K";
    shown_ = false;
}

} // namespace sim
