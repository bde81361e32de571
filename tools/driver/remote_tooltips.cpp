#include "driver/remote_tooltips.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "driver/remote_buffer.h"
#include "driver/window_queries.h"

namespace veltrano::driver {
namespace {

// nullopt when the control was destroyed meanwhile (a balloon ends by itself).
std::optional<LRESULT> Send(HWND tooltip, UINT message, WPARAM wParam, const RemoteBuffer& remote) {
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(tooltip, message, wParam, reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG,
                              5000, &result)) {
        return static_cast<LRESULT>(result);
    }
    if (!::IsWindow(tooltip)) return std::nullopt;
    throw std::runtime_error("a tooltip of the desktop process did not answer");
}

}  // namespace

UniqueHandle OpenTooltipProcess(DWORD processId) {
    UniqueHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) throw std::runtime_error("cannot open the desktop process " + std::to_string(processId));
    return process;
}

std::vector<HWND> FindTooltips(DWORD processId, const std::vector<HWND>& owners, TooltipStyle style,
                               bool visibleOnly) {
    std::vector<HWND> found;
    const WindowQuery query{.className = TOOLTIPS_CLASSW, .processId = processId, .visibleOnly = visibleOnly};
    for (const WindowInfo& tooltip : FindTopLevelWindows(query)) {
        const HWND owner = ::GetWindow(tooltip.handle, GW_OWNER);
        if (std::find(owners.begin(), owners.end(), owner) == owners.end()) continue;
        const bool balloon = (::GetWindowLongPtrW(tooltip.handle, GWL_STYLE) & TTS_BALLOON) != 0;
        if (balloon == (style == TooltipStyle::Balloon)) found.push_back(tooltip.handle);
    }
    return found;
}

std::optional<std::wstring> RemoteTooltip::ToolText(HWND toolWindow, size_t capacity) const {
    RemoteBuffer remote(process_, sizeof(TTTOOLINFOW) + capacity * sizeof(wchar_t));
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = toolWindow;
    info.uId = reinterpret_cast<UINT_PTR>(toolWindow);
    remote.Write(0, &info, sizeof info);
    const auto known = Send(tooltip_, TTM_GETTOOLINFOW, 0, remote);
    if (!known || !*known) return std::nullopt;

    const std::vector<wchar_t> empty(capacity, L'\0');
    info.lpszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof info);
    remote.Write(0, &info, sizeof info);
    remote.Write(sizeof info, empty.data(), capacity * sizeof(wchar_t));
    if (!Send(tooltip_, TTM_GETTEXTW, capacity, remote)) return std::nullopt;
    return remote.ReadText(sizeof info, capacity);
}

}  // namespace veltrano::driver
