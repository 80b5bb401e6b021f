#pragma once

#include <chrono>
#include <memory>

namespace Platform {

// The processor time of the calling thread: what a piece of work costs, however busy the rest
// of the machine is.
class CpuClock {
public:
    virtual ~CpuClock() = default;

    // The processor time the calling thread has used since it started, in user and system mode
    // together; 0 when it cannot be read.
    virtual std::chrono::microseconds threadTime() const = 0;
};

// The machine's own.
std::unique_ptr<CpuClock> makeCpuClock();

} // namespace Platform
