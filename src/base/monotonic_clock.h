#pragma once
// A clock that never jumps with the wall clock, a seam so that interval logic can be tested
// without waiting.
#include <chrono>

namespace veltrano {

class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::chrono::steady_clock::time_point Now() const = 0;
};

class SteadyMonotonicClock final : public MonotonicClock {
public:
    std::chrono::steady_clock::time_point Now() const override { return std::chrono::steady_clock::now(); }
};

}  // namespace veltrano
