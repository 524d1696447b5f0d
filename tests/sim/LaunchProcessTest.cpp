// A launch's process: what the parent hears from the child, however much, and how it
// ends. A child killed by a signal is played by the flow runner's tests.

#include "sim/play/LaunchProcess.h"

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

} // namespace

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
        return 3;
    });
    ASSERT_EQ(heard.messages.size(), 2u);
    EXPECT_EQ(heard.messages[1]["big"].get<std::string>().size(), big.size());
    EXPECT_EQ(heard.end.description(), "exit status 3");
}
