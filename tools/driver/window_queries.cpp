#include "driver/window_queries.h"

#include <array>
#include <stdexcept>
#include <utility>


namespace veltrano::driver {
namespace {

bool Matches(const WindowQuery& query, const WindowInfo& info) {
    if (!query.className.empty() && info.className != query.className) return false;
    if (query.caption && info.caption != *query.caption) return false;
    if (query.processId != 0 && info.processId != query.processId) return false;
    return !query.visibleOnly || info.visible;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

std::wstring ClassNameOf(HWND window) {
    wchar_t buffer[256];
    const int length = ::GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, length > 0 ? length : 0);
}

std::wstring TextOf(HWND window) {
    // GetWindowText reads only the caption the system keeps for another process's window; an
    // edit control keeps its own text, which WM_GETTEXT (marshalled across processes) gives.
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) || length == 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                               5000, &copied)) {
        return {};
    }
    text.resize(copied);
    return text;
}

WindowInfo DescribeWindow(HWND window) {
    WindowInfo info;
    info.handle = window;
    ::GetWindowThreadProcessId(window, &info.processId);
    info.visible = ::IsWindowVisible(window) != FALSE;
    info.className = ClassNameOf(window);
    info.caption = TextOf(window);
    return info;
}

std::vector<WindowInfo> FindTopLevelWindows(const WindowQuery& query) {
    std::vector<HWND> handles;
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&handles));
    std::vector<WindowInfo> found;
    for (HWND handle : handles) {
        WindowInfo info = DescribeWindow(handle);
        if (Matches(query, info)) found.push_back(std::move(info));
    }
    return found;
}

std::vector<WindowInfo> ChildWindowsOf(HWND parent) {
    std::vector<HWND> handles;
    ::EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&handles));
    std::vector<WindowInfo> children;
    for (HWND handle : handles) children.push_back(DescribeWindow(handle));
    return children;
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&]() -> HWND {
        const auto found = FindTopLevelWindows(query);
        return found.empty() ? nullptr : found.front().handle;
    });
}

bool WaitForNoWindow(const WindowQuery& query, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return FindTopLevelWindows(query).empty(); });
}

void PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!::PostMessageW(window, message, wParam, lParam)) {
        const DWORD error = ::GetLastError();
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        throw std::runtime_error("PostMessageW failed, error " + std::to_string(error) + " (message " +
                                 std::to_string(message) + ", window " +
                                 std::to_string(reinterpret_cast<uintptr_t>(window)) + ", still a window: " +
                                 std::to_string(::IsWindow(window)) + ", process " + std::to_string(processId) + ")");
    }
}

void PostCommand(HWND window, WORD commandId) { PostToWindow(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

void SendCommand(HWND window, WORD commandId) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs,
                               &result)) {
        throw std::runtime_error("SendMessageTimeoutW failed, error " + std::to_string(::GetLastError()));
    }
}

void PostTrayCallback(HWND window, UINT mouseMessage) {
    PostToWindow(window, kTrayCallbackMessage, kTrayIconId, static_cast<LPARAM>(mouseMessage));
}

std::optional<UINT> MouseMessageFromName(std::wstring_view name) {
    static constexpr std::array<std::pair<std::wstring_view, UINT>, 10> kNames{{
        {L"WM_MOUSEMOVE", WM_MOUSEMOVE},
        {L"WM_LBUTTONDOWN", WM_LBUTTONDOWN},
        {L"WM_LBUTTONUP", WM_LBUTTONUP},
        {L"WM_LBUTTONDBLCLK", WM_LBUTTONDBLCLK},
        {L"WM_RBUTTONDOWN", WM_RBUTTONDOWN},
        {L"WM_RBUTTONUP", WM_RBUTTONUP},
        {L"WM_RBUTTONDBLCLK", WM_RBUTTONDBLCLK},
        {L"WM_MBUTTONDOWN", WM_MBUTTONDOWN},
        {L"WM_MBUTTONUP", WM_MBUTTONUP},
        {L"WM_MBUTTONDBLCLK", WM_MBUTTONDBLCLK},
    }};
    for (const auto& [known, message] : kNames) {
        if (known == name) return message;
    }
    return std::nullopt;
}

}  // namespace veltrano::driver
