// A launch's process: what the parent hears from the child and how it learns that the
// child crashed.

#include "sim/LaunchProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>

using namespace sim;

namespace {

struct Heard {
    std::vector<Json> messages;
    ProcessEnd end;
};

Heard runChild(LaunchProcess::Body body) {
    Heard heard;
    auto end =
        LaunchProcess(std::move(body)).run([&](const Json& message) { heard.messages.push_back(message); });
    EXPECT_TRUE(end) << (end ? "" : end.error());
    if (end)
        heard.end = *end;
    return heard;
}

[[noreturn]] void crashWith(int signal) {
    // A real signal even under a sanitizer that would otherwise catch it and exit.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::abort();
}

} // namespace

TEST(LaunchProcess, MessagesArriveInOrderAndTheExitStatusIsKept) {
    auto heard = runChild([](MessageChannel& channel) {
        channel.send({{"step", 1}});
        channel.send({{"step", "two"}, {"text", "line\nbreak"}});
        return 3;
    });
    ASSERT_EQ(heard.messages.size(), 2u);
    EXPECT_EQ(heard.messages[0]["step"], 1);
    EXPECT_EQ(heard.messages[1]["text"], "line\nbreak");
    EXPECT_FALSE(heard.end.killed());
    EXPECT_EQ(heard.end.exitStatus, 3);
    EXPECT_EQ(heard.end.description(), "exit status 3");
}

TEST(LaunchProcess, AChildKilledBySignalIsACrashAndItsEarlierMessagesSurvive) {
    auto heard = runChild([](MessageChannel& channel) -> int {
        channel.send({{"step", "launch"}});
        crashWith(SIGSEGV);
    });
    ASSERT_EQ(heard.messages.size(), 1u);
    EXPECT_TRUE(heard.end.killed());
    EXPECT_EQ(heard.end.signal, SIGSEGV);
    EXPECT_EQ(heard.end.description(), "signal 11 (Segmentation fault)");
}

TEST(LaunchProcess, AnExceptionEscapingTheChildAbortsItInsteadOfReturningIntoTheParent) {
    auto heard = runChild([](MessageChannel&) -> int { throw std::runtime_error("escaped"); });
    EXPECT_EQ(heard.end.signal, SIGABRT);
    EXPECT_TRUE(heard.messages.empty());
}

TEST(LaunchProcess, AReportLargerThanThePipeDoesNotBlockTheChild) {
    std::string big(256 << 10, 'x');
    auto heard = runChild([&](MessageChannel& channel) {
        channel.send({{"big", big}});
        channel.send({{"big", big}});
        return 0;
    });
    ASSERT_EQ(heard.messages.size(), 2u);
    EXPECT_EQ(heard.messages[1]["big"].get<std::string>().size(), big.size());
    EXPECT_EQ(heard.end.exitStatus, 0);
}
