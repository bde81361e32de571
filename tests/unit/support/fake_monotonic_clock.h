#pragma once
#include <chrono>

#include "base/monotonic_clock.h"

namespace veltrano::test {

// Stands still until a test moves it.
class FakeMonotonicClock final : public MonotonicClock {
public:
    std::chrono::steady_clock::time_point Now() const override { return now; }
    std::chrono::steady_clock::time_point now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
};

}  // namespace veltrano::test
