#pragma once
// The Windows the program runs on, as the system itself reports it (no compatibility shims), and
// Wine's version when it is Wine.
#include <windows.h>

#include <optional>
#include <string>

namespace veltrano {

struct WindowsVersion {
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
};

// From ntdll's RtlGetVersion; nullopt when it cannot be asked.
std::optional<WindowsVersion> RunningWindowsVersion();

// ntdll's wine_get_version under Wine; empty on Windows.
std::wstring WineVersion();

}  // namespace veltrano
