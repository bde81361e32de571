#include "driver/tray_icons.h"

#include <commctrl.h>

#include <array>
#include <stdexcept>
#include <utility>

#include "base/unique_any.h"
#include "driver/window_queries.h"

namespace veltrano::driver {
namespace {

constexpr wchar_t kStandaloneTrayClass[] = L"__winex11_standalone_tray";
constexpr wchar_t kIconWindowClass[] = L"__winex11_tray_icon";
constexpr size_t kTipCapacity = 128;  // NOTIFYICONDATAW::szTip

// Memory inside the desktop process: tooltip messages carry pointers that Wine passes through
// unchanged, so their buffers must live where the tooltip control runs.
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

private:
    HANDLE process_;
    void* address_;
};

std::vector<HWND> IconWindows() {
    std::vector<HWND> icons;
    for (const WindowInfo& tray : FindTopLevelWindows({.className = kStandaloneTrayClass})) {
        for (const WindowInfo& child : ChildWindowsOf(tray.handle)) {
            if (child.className == kIconWindowClass) icons.push_back(child.handle);
        }
    }
    for (const WindowInfo& docked : FindTopLevelWindows({.className = kIconWindowClass})) {
        icons.push_back(docked.handle);
    }
    return icons;
}

// Wine registers the tool with the icon window as both hwnd and id (TTF_IDISHWND), in a tooltip
// control owned by the icon window or, for an icon inside the tray window, by that tray window.
TTTOOLINFOW ToolOf(HWND icon) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = icon;
    info.uId = reinterpret_cast<UINT_PTR>(icon);
    return info;
}

LRESULT SendToTooltip(HWND tooltip, UINT message, WPARAM wParam, const RemoteBuffer& remote) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(tooltip, message, wParam, reinterpret_cast<LPARAM>(remote.Address()),
                               SMTO_ABORTIFHUNG, 5000, &result)) {
        throw std::runtime_error("a tray tooltip did not answer");
    }
    return static_cast<LRESULT>(result);
}

std::wstring ReadTip(HANDLE process, DWORD processId, HWND icon) {
    RemoteBuffer remote(process, sizeof(TTTOOLINFOW) + kTipCapacity * sizeof(wchar_t));
    const HWND owners[] = {icon, ::GetAncestor(icon, GA_ROOT)};
    for (const WindowInfo& tooltip : FindTopLevelWindows({.className = TOOLTIPS_CLASSW, .processId = processId})) {
        const HWND owner = ::GetWindow(tooltip.handle, GW_OWNER);
        if (owner != owners[0] && owner != owners[1]) continue;
        TTTOOLINFOW info = ToolOf(icon);
        remote.Write(0, &info, sizeof info);
        if (!SendToTooltip(tooltip.handle, TTM_GETTOOLINFOW, 0, remote)) continue;  // not this icon's tooltip

        std::array<wchar_t, kTipCapacity> text{};
        info.lpszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof info);
        remote.Write(0, &info, sizeof info);
        remote.Write(sizeof info, text.data(), sizeof text);
        SendToTooltip(tooltip.handle, TTM_GETTEXTW, text.size(), remote);
        remote.Read(sizeof info, text.data(), sizeof text);
        text.back() = L'\0';
        return text.data();
    }
    return {};
}

// Wine keeps its icon record at GWLP_USERDATA of the icon window; in every Wine version the record
// holds the owner window right before the icon window itself. Finding the icon window's own handle
// in the record proves the layout, so a different layout gives "unknown", never a wrong owner.
HWND ReadOwner(HANDLE process, HWND icon) {
    const auto record = ::GetWindowLongPtrW(icon, GWLP_USERDATA);
    if (!record) return nullptr;
    std::array<UINT_PTR, 8> slots{};
    if (!::ReadProcessMemory(process, reinterpret_cast<const void*>(record), slots.data(), sizeof slots, nullptr)) {
        return nullptr;
    }
    for (size_t i = 1; i < slots.size(); ++i) {
        if (slots[i] != reinterpret_cast<UINT_PTR>(icon)) continue;
        HWND owner = reinterpret_cast<HWND>(slots[i - 1]);
        return ::IsWindow(owner) ? owner : nullptr;
    }
    return nullptr;
}

}  // namespace

std::vector<TrayIconInfo> ListTrayIcons() {
    std::vector<TrayIconInfo> icons;
    for (HWND icon : IconWindows()) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(icon, &processId);
        UniqueHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        if (!process) throw std::runtime_error("cannot open the desktop process " + std::to_string(processId));
        TrayIconInfo info;
        info.iconWindow = icon;
        info.owner = ReadOwner(process.get(), icon);
        info.tip = ReadTip(process.get(), processId, icon);
        icons.push_back(std::move(info));
    }
    return icons;
}

}  // namespace veltrano::driver
