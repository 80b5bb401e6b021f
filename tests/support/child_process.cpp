#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable(*entry);
        const std::string name = variable.substr(0, variable.find('=') + 1);
        const bool replaced = std::any_of(
            extra.begin(), extra.end(), [&](const std::string& e) { return e.starts_with(name); });
        if (!replaced)
            merged.push_back(variable);
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// At most a second: the caller polls again.
int pollTimeout(Clock::time_point deadline) {
    if (deadline == Clock::time_point::max())
        return 1000;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long>(left.count(), 1, 1000));
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& extraEnvironment) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return;
    std::vector<std::string> arguments = argv;
    std::vector<std::string> environment = mergedEnvironment(extraEnvironment);
    std::vector<char*> argumentPointers = pointers(arguments);
    std::vector<char*> environmentPointers = pointers(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    start_ = Clock::now();
    if (posix_spawn(&pid_, arguments[0].c_str(), &actions, nullptr, argumentPointers.data(),
                    environmentPointers.data()) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    output_ = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0)
        ::close(output_);
}

void ChildProcess::kill(int signal) {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

void ChildProcess::readAvailable(int timeoutMs) {
    pollfd readable{output_, POLLIN, 0};
    if (::poll(&readable, 1, timeoutMs) <= 0)
        return;
    char buffer[4096];
    const ssize_t got = ::read(output_, buffer, sizeof buffer);
    if (got > 0) {
        collected_.append(buffer, static_cast<size_t>(got));
    } else {
        // The child closed its end: it has ended, or is about to.
        ::close(output_);
        output_ = -1;
    }
}

template <typename Done> bool ChildProcess::readUntil(Clock::time_point deadline, Done done) {
    while (output_ >= 0 && !done()) {
        readAvailable(pollTimeout(deadline));
        if (Clock::now() >= deadline)
            return output_ < 0 || done();
    }
    return true;
}

bool ChildProcess::waitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    const auto seen = [&] { return collected_.find(text) != std::string::npos; };
    readUntil(Clock::now() + limit, seen);
    return seen();
}

ChildOutcome ChildProcess::wait(std::chrono::milliseconds limit) {
    ChildOutcome outcome;
    if (pid_ <= 0)
        return outcome;
    if (!readUntil(start_ + limit, [] { return false; })) {
        outcome.timedOut = true;
        ::kill(pid_, SIGKILL);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid_, &status, 0, &usage);
    pid_ = -1;
    outcome.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_);
    readUntil(Clock::time_point::max(), [] { return false; });
    outcome.output = std::move(collected_);
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    outcome.peakRssKiB = usage.ru_maxrss;
    return outcome;
}
