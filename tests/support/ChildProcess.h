#pragma once

// What the test programs that fork share: a temporary device that removes only the folder
// it made, and a body run in a child process of its own, as every launch of an app is.

#include "device/Device.h"
#include "device/MadeFolder.h"
#include "objc/Autorelease.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support {

// A fresh folder, made the device's root while this object lives. Only the folder made
// here is ever removed, by the helper that removes only what it made: never the device
// root as such, which may be unset.
class TemporaryDevice {
public:
    explicit TemporaryDevice(const char* prefix) : folder_(made(prefix)) {
        device::Device::setRoot(folder_.path());
    }

private:
    static device::MadeFolder made(const char* prefix) {
        auto folder = device::MadeFolder::makeTemporary(prefix);
        if (!folder)
            throw std::runtime_error("no temporary device folder: " + folder.error());
        return std::move(*folder);
    }

    device::MadeFolder folder_;
};

// Failures recorded so far in the running test, the child's inherited ones included.
inline int failuresSoFar() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    int failures = 0;
    for (int i = 0; test && i < test->result()->total_part_count(); ++i)
        failures += test->result()->GetTestPartResult(i).failed();
    return failures;
}

// Runs `body` in a forked child, inside an autorelease pool, and answers the text it
// returns; nothing when the child threw, failed a check or died. The child prints its own
// failures.
inline std::optional<std::string> runInChild(const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        int code = 0;
        int inherited = failuresSoFar();
        try {
            std::string answer;
            {
                objc::AutoreleasePool pool;
                answer = body();
            }
            for (std::size_t sent = 0; sent < answer.size();) {
                ssize_t n = ::write(channel[1], answer.data() + sent, answer.size() - sent);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            code = failuresSoFar() > inherited ? 1 : 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "uncaught exception in the child process: %s\n", e.what());
            code = 2;
        }
        std::fflush(stdout);
        std::fflush(stderr);
        ::_exit(code);
    }
    ::close(channel[1]);
    std::string answer;
    char buffer[4096];
    for (ssize_t n; child > 0 && (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return std::nullopt;
    if (WIFSIGNALED(status))
        std::fprintf(stderr, "the child process ended by signal %d\n", WTERMSIG(status));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return answer;
}

// Runs `body` in a forked child; its failures fail the calling test.
inline void expectPassesInChild(const std::function<void()>& body) {
    EXPECT_TRUE(runInChild([&] {
        body();
        return std::string();
    })) << "the child process failed (see above)";
}

// The same on a fresh temporary device, as every launch of an app is a process of its own.
inline void inChildProcess(const std::function<void()>& body) {
    expectPassesInChild([&] {
        TemporaryDevice device("lexorna-test");
        body();
    });
}

} // namespace test_support
