#pragma once
// The local wall clock, a seam so that date-dependent logic can be tested at any moment.
#include <windows.h>

namespace veltrano {

class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual SYSTEMTIME Now() const = 0;
};

class SystemLocalClock final : public LocalClock {
public:
    SYSTEMTIME Now() const override {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        return now;
    }
};

}  // namespace veltrano
