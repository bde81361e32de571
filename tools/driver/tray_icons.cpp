#include "driver/tray_icons.h"

#include <array>
#include <utility>

#include "base/unique_any.h"
#include "driver/remote_tooltips.h"
#include "driver/window_queries.h"

namespace veltrano::driver {
namespace {

constexpr wchar_t kStandaloneTrayClass[] = L"__winex11_standalone_tray";
constexpr wchar_t kIconWindowClass[] = L"__winex11_tray_icon";
constexpr size_t kTipCapacity = 128;  // NOTIFYICONDATAW::szTip

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

// Wine registers the tip in a tooltip control owned by the icon window or, for an icon inside the
// tray window, by that tray window. A balloon is a second control with the same owner and tool.
std::wstring ReadTip(HANDLE process, DWORD processId, HWND icon) {
    for (HWND tooltip : FindTooltips(processId, {icon, ::GetAncestor(icon, GA_ROOT)}, TooltipStyle::Tip, false)) {
        if (auto tip = RemoteTooltip(process, tooltip).ToolText(icon, kTipCapacity)) return *tip;
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
        const UniqueHandle process = OpenTooltipProcess(processId);
        TrayIconInfo info;
        info.iconWindow = icon;
        info.owner = ReadOwner(process.Get(), icon);
        info.tip = ReadTip(process.Get(), processId, icon);
        icons.push_back(std::move(info));
    }
    return icons;
}

}  // namespace veltrano::driver
