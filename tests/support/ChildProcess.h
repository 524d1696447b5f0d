#pragma once

// What the test programs that fork share: a temporary device that removes only the folder
// it made, and a body run in a child process of its own, as every launch of an app is.

#include "TemporaryFolder.h"

#include "device/Device.h"
#include "objc/Autorelease.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support {

// A fresh folder, made the device's root while this object lives. Only the folder made
// here is ever removed, never the device root as such, which may be unset.
class TemporaryDevice {
public:
    explicit TemporaryDevice(const char* prefix) : folder_(prefix) {
        device::Device::setRoot(folder_.path());
    }

private:
    TemporaryFolder folder_;
};

// Failures recorded so far in the running test, the child's inherited ones included.
inline int failuresSoFar() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    int failures = 0;
    for (int i = 0; test && i < test->result()->total_part_count(); ++i)
        failures += test->result()->GetTestPartResult(i).failed();
    return failures;
}

// Runs `body` in a forked child, inside an autorelease pool; its failures, an exception
// escaping it or the child's death fail the calling test. The child prints its own failures.
inline void expectPassesInChild(const std::function<void()>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t child = ::fork();
    if (child == 0) {
        int code = 0;
        int inherited = failuresSoFar();
        try {
            {
                objc::AutoreleasePool pool;
                body();
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
    int status = 0;
    ASSERT_GT(child, 0) << "no child process";
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the child process failed (see above)"
        << (WIFSIGNALED(status) ? ", ended by signal " + std::to_string(WTERMSIG(status)) : std::string());
}

// The same on a fresh temporary device, as every launch of an app is a process of its own.
inline void inChildProcess(const std::function<void()>& body) {
    expectPassesInChild([&] {
        TemporaryDevice device("lexorna-test");
        body();
    });
}

} // namespace test_support
