#include "platform/CpuClock.h"

#include "platform/ThreadCpuTime.h"

namespace Platform {
namespace {

class MachineCpuClock final : public CpuClock {
public:
    std::chrono::microseconds threadTime() const override { return threadCpuTime(); }
};

} // namespace

std::unique_ptr<CpuClock> makeCpuClock() {
    return std::make_unique<MachineCpuClock>();
}

} // namespace Platform
