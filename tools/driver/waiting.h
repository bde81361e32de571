#pragma once
// Polling until a condition holds; every wait in the driver goes through here.
#include <windows.h>

#include <optional>

namespace veltrano::driver {

// Generous: a cold Wine start of a program takes seconds. Only an upper bound, never asserted.
inline constexpr DWORD kDefaultTimeoutMs = 30000;

// Calls `probe` until it returns a value that tests true or the timeout passes; gives the last value.
template <typename Probe>
auto PollUntil(DWORD timeoutMs, Probe probe) -> decltype(probe()) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        auto value = probe();
        if (value || ::GetTickCount64() >= deadline) return value;
        ::Sleep(20);
    }
}

}  // namespace veltrano::driver
