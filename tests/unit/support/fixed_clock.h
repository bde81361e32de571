#pragma once
#include "base/local_clock.h"

namespace veltrano::test {

class FixedClock final : public LocalClock {
public:
    SYSTEMTIME Now() const override { return now; }
    void Set(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD millisecond) {
        now = SYSTEMTIME{year, month, 0, day, hour, minute, second, millisecond};
    }
    SYSTEMTIME now{2026, 12, 0, 6, 9, 5, 3, 7};
};

}  // namespace veltrano::test
