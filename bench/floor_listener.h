#pragma once
// The floor of the end-to-end latency: the least a clipboard guard can do. A hidden window
// listens for clipboard updates, reads the text on each and shows a message box from a worker
// thread, so the window's thread is free again at once. Run as `veltrano_bench floor <body>`.
#include <string>

namespace veltrano::bench {

inline constexpr wchar_t kFloorWindowClass[] = L"VeltranoBenchFloorClass";
// The window's caption once it listens.
inline constexpr wchar_t kFloorListeningCaption[] = L"listening";

// Runs until the window gets WM_CLOSE. The box has the warning's caption and `body` as its text.
int RunFloorListener(const std::wstring& body);

}  // namespace veltrano::bench
