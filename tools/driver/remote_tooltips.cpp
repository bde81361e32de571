#include "driver/remote_tooltips.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "driver/window_queries.h"

namespace veltrano::driver {
namespace {

// Memory inside the process that runs the tooltip control.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
        if (!address_) throw std::runtime_error("VirtualAllocEx failed in the desktop process");
    }
    ~RemoteBuffer() { ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    BYTE* Address() const noexcept { return static_cast<BYTE*>(address_); }
    void Write(size_t offset, const void* data, size_t size) const {
        if (!::WriteProcessMemory(process_, Address() + offset, data, size, nullptr)) {
            throw std::runtime_error("WriteProcessMemory failed in the desktop process");
        }
    }
    void Read(size_t offset, void* data, size_t size) const {
        if (!::ReadProcessMemory(process_, Address() + offset, data, size, nullptr)) {
            throw std::runtime_error("ReadProcessMemory failed in the desktop process");
        }
    }
    // `length` units at `offset`, up to the first terminator; the last unit always ends the text.
    std::wstring ReadText(size_t offset, size_t length) const {
        std::vector<wchar_t> text(length);
        Read(offset, text.data(), length * sizeof(wchar_t));
        text.back() = L'\0';
        return text.data();
    }

private:
    HANDLE process_;
    void* address_;
};

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
