#include "base/windows_version.h"

#include "base/text_encoding.h"

namespace veltrano {
namespace {

template <typename Function>
Function NtdllFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

}  // namespace

std::optional<WindowsVersion> RunningWindowsVersion() {
    const auto getVersion = NtdllFunction<LONG(WINAPI*)(OSVERSIONINFOW*)>("RtlGetVersion");
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!getVersion || getVersion(&version) != 0) return std::nullopt;
    return WindowsVersion{version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber};
}

std::wstring WineVersion() {
    const auto getVersion = NtdllFunction<const char*(CDECL*)()>("wine_get_version");
    return getVersion ? Utf8ToWide(getVersion()) : L"";
}

}  // namespace veltrano
