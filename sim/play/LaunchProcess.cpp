#include "sim/play/LaunchProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sim {

void MessageChannel::send(const Json& message) {
    std::string line = jsonText(message) + '\n';
    std::size_t written = 0;
    while (written < line.size()) {
        ssize_t n = ::write(fd_, line.data() + written, line.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return; // the parent is gone; nobody is left to tell
        }
        written += static_cast<std::size_t>(n);
    }
}

std::string ProcessEnd::description() const {
    if (killed())
        return "signal " + std::to_string(signal) + " (" + ::strsignal(signal) + ")";
    return "exit status " + std::to_string(exitStatus);
}

namespace {

[[noreturn]] void runChild(const LaunchProcess::Body& body, int fd) {
    MessageChannel channel(fd);
    int status = 0;
    try {
        status = body(channel);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lexorna-sim: uncaught exception in the app: %s\n", e.what());
        std::abort();
    } catch (...) {
        std::fprintf(stderr, "lexorna-sim: uncaught exception in the app\n");
        std::abort();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    ::close(fd);
    // Skips the parent's exit handlers and static destructors, which belong to the
    // parent's run (a test runner's, say), not to this launch.
    ::_exit(status);
}

} // namespace

support::Expected<ProcessEnd, std::string> LaunchProcess::run(const OnMessage& onMessage) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return support::Unexpected(std::string("pipe: ") + std::strerror(errno));
    // Buffered output would otherwise be written twice, once by each process.
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = ::fork();
    if (pid < 0) {
        std::string reason = std::string("fork: ") + std::strerror(errno);
        ::close(fds[0]);
        ::close(fds[1]);
        return support::Unexpected(reason);
    }
    if (pid == 0) {
        ::close(fds[0]);
        runChild(body_, fds[1]);
    }
    ::close(fds[1]);

    // Read while the child runs: a report larger than the pipe would otherwise block it.
    std::string pending;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t newline;
        while ((newline = pending.find('\n')) != std::string::npos) {
            Json message = Json::parse(
                pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(newline), nullptr, false);
            pending.erase(0, newline + 1);
            if (!message.is_discarded())
                onMessage(message);
        }
    }
    ::close(fds[0]);

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return support::Unexpected(std::string("waitpid: ") + std::strerror(errno));
    }
    ProcessEnd end;
    if (WIFSIGNALED(status))
        end.signal = WTERMSIG(status);
    else if (WIFEXITED(status))
        end.exitStatus = WEXITSTATUS(status);
    return end;
}

} // namespace sim
