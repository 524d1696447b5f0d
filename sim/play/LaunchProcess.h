#pragma once

#include "sim/report/Report.h"

#include "support/Expected.h"

#include <functional>
#include <string>

namespace sim {

// The child's end of the pipe to its parent: one JSON message per line.
class MessageChannel {
public:
    explicit MessageChannel(int fd) : fd_(fd) {}
    // Whole lines only, so a child that dies mid-report leaves no half message behind
    // that could be mistaken for a whole one.
    void send(const Json& message);

private:
    int fd_;
};

// How a child process ended.
struct ProcessEnd {
    int exitStatus = 0; // when it exited
    int signal = 0;     // when a signal ended it

    bool killed() const { return signal != 0; }
    // "signal 11 (Segmentation fault)" or "exit status 3"
    std::string description() const;
};

// One launch of an app as one OS process, as on a device: the body runs in a forked
// child and tells the parent how things go through its channel; the parent receives
// each message as it arrives and learns how the child ended, crash or not. The child
// never returns into the parent's code: it leaves with _exit after its body, and an
// exception that escapes the body aborts it like an uncaught exception ends an app.
class LaunchProcess {
public:
    using Body = std::function<int(MessageChannel&)>;
    using OnMessage = std::function<void(const Json&)>;

    explicit LaunchProcess(Body body) : body_(std::move(body)) {}

    // An error only when no process could be started.
    support::Expected<ProcessEnd, std::string> run(const OnMessage& onMessage);

private:
    Body body_;
};

} // namespace sim
