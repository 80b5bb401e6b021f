#pragma once

#include "platform/CpuClock.h"

// The thread's own processor clock, moved on by `step` more at each read: work made to look as
// slow as a test needs, whatever the machine's speed.
class SteppedCpuClock final : public Platform::CpuClock {
public:
    std::chrono::microseconds step{0};

    std::chrono::microseconds threadTime() const override {
        const std::chrono::microseconds time = machine_->threadTime() + added_;
        added_ += step;
        return time;
    }

private:
    std::unique_ptr<Platform::CpuClock> machine_ = Platform::makeCpuClock();
    mutable std::chrono::microseconds added_{0};
};
