#pragma once
// What the end-to-end benchmarks know of the real program: its main window, its warning box,
// its exit command and the user name that prefixes its data files.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace veltrano::bench {

inline constexpr wchar_t kMainWindowClass[] = L"VeltranoClass";
inline constexpr wchar_t kDetectionCaption[] = L"クリップボード検出 - Veltrano";
inline constexpr WORD kExitCommand = 40001;

inline std::wstring UserName() {
    wchar_t buffer[257];
    DWORD size = static_cast<DWORD>(std::size(buffer));
    if (!::GetUserNameW(buffer, &size)) throw std::runtime_error("GetUserNameW failed");
    return buffer;
}

}  // namespace veltrano::bench
