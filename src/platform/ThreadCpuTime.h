#pragma once

#include <chrono>

namespace Platform {

// The processor time the calling thread has used so far: what a piece of work costs, however
// busy the rest of the machine is.
std::chrono::microseconds threadCpuTime();

} // namespace Platform
