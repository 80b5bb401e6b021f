#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// How a child process ended.
struct ChildOutcome {
    bool exited = false; // it ended by itself, with exitCode
    int exitCode = -1;
    int signal = 0;        // the signal that ended it, when it did not exit
    bool timedOut = false; // it was killed for running past its time
    long peakRssKiB = 0;   // the most memory it held at once
    std::chrono::milliseconds elapsed{0};
    std::string output; // everything it wrote to its standard output
};

// A helper program run by a test: its standard output is collected, its standard error goes
// where the test's goes. A child still running when the object goes is killed.
class ChildProcess {
public:
    // argv[0] is the program's path. extraEnvironment entries ("NAME=value") are added to the
    // test's own environment, replacing variables of the same name.
    explicit ChildProcess(const std::vector<std::string>& argv,
                          const std::vector<std::string>& extraEnvironment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False when the program could not be started.
    bool started() const { return pid_ > 0; }

    void kill(int signal);

    // Waits at most `limit` for the child to write `text`; false when it has not (yet).
    bool waitForOutput(const std::string& text, std::chrono::milliseconds limit);
    // The child has closed its output: it has ended, or is about to.
    bool outputClosed() const { return output_ < 0; }

    // Waits for the child to end, killing it with SIGKILL once `limit` has passed since it was
    // started. Call once.
    ChildOutcome wait(std::chrono::milliseconds limit);

private:
    void readAvailable(int timeoutMs);
    // Reads until the pipe closes or the deadline passes; false on the deadline.
    template <typename Done>
    bool readUntil(std::chrono::steady_clock::time_point deadline, Done done);

    pid_t pid_ = -1;
    int output_ = -1;
    std::string collected_;
    std::chrono::steady_clock::time_point start_;
};
