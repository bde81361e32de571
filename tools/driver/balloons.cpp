#include "driver/balloons.h"

#include <shellapi.h>

#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <utility>

#include "base/unique_any.h"
#include "driver/remote_tooltips.h"
#include "driver/tray_icons.h"

namespace veltrano::driver {
namespace {

// The fields of NOTIFYICONDATAW, in units, that Wine copies into its record.
constexpr size_t kTipCapacity = 128;
constexpr size_t kTextCapacity = 256;
constexpr size_t kTitleCapacity = 64;

struct RecordedBalloon {
    std::wstring title;
    DWORD iconFlag = 0;
};

// True when `units` holds `text` and then its terminator.
bool HoldsText(const wchar_t* units, size_t capacity, const std::wstring& text) {
    return text.size() < capacity && std::wmemcmp(units, text.data(), text.size()) == 0 && units[text.size()] == L'\0';
}

// Wine keeps, in its icon record at GWLP_USERDATA of the icon window, the tip, the balloon text and
// the balloon title one after another, then the balloon flags. Finding the tip and the text (both
// read through the tooltips) at their places proves the layout, so a different layout gives
// "unknown", never a wrong title.
std::optional<RecordedBalloon> ReadRecordedBalloon(HANDLE process, HWND icon, const std::wstring& tip,
                                                   const std::wstring& text) {
    const auto record = ::GetWindowLongPtrW(icon, GWLP_USERDATA);
    if (!record) return std::nullopt;
    // A few header fields come first; 1 KiB holds them and the texts.
    std::array<BYTE, 1024> bytes{};
    if (!::ReadProcessMemory(process, reinterpret_cast<const void*>(record), bytes.data(), bytes.size(), nullptr)) {
        return std::nullopt;
    }
    constexpr size_t kTextsSize = (kTipCapacity + kTextCapacity + kTitleCapacity) * sizeof(wchar_t);
    for (size_t at = 0; at + kTextsSize + sizeof(DWORD) <= bytes.size(); at += sizeof(wchar_t)) {
        std::array<wchar_t, kTipCapacity + kTextCapacity + kTitleCapacity> units{};
        std::memcpy(units.data(), bytes.data() + at, kTextsSize);
        const wchar_t* tipUnits = units.data();
        const wchar_t* textUnits = tipUnits + kTipCapacity;
        const wchar_t* titleUnits = textUnits + kTextCapacity;
        if (!HoldsText(tipUnits, kTipCapacity, tip) || !HoldsText(textUnits, kTextCapacity, text)) continue;
        if (std::wmemchr(titleUnits, L'\0', kTitleCapacity) == nullptr) continue;
        RecordedBalloon balloon{titleUnits, 0};
        std::memcpy(&balloon.iconFlag, bytes.data() + at + kTextsSize, sizeof balloon.iconFlag);
        balloon.iconFlag &= NIIF_ICON_MASK;
        return balloon;
    }
    return std::nullopt;
}

}  // namespace

std::vector<BalloonInfo> ListBalloons() {
    std::vector<BalloonInfo> balloons;
    for (const TrayIconInfo& icon : ListTrayIcons()) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(icon.iconWindow, &processId);
        const UniqueHandle process = OpenTooltipProcess(processId);
        const std::vector<HWND> owners = {icon.iconWindow, ::GetAncestor(icon.iconWindow, GA_ROOT)};
        for (HWND tooltip : FindTooltips(processId, owners, TooltipStyle::Balloon, true)) {
            auto text = RemoteTooltip(process.Get(), tooltip).ToolText(icon.iconWindow, kTextCapacity);
            // Another icon's balloon, or one that ended while it was read.
            if (!text) continue;
            auto recorded = ReadRecordedBalloon(process.Get(), icon.iconWindow, icon.tip, *text);
            if (!recorded) throw std::runtime_error("the title of a balloon cannot be read in this Wine version");
            balloons.push_back(
                {tooltip, icon.iconWindow, icon.owner, std::move(recorded->title), std::move(*text), recorded->iconFlag});
        }
    }
    return balloons;
}

}  // namespace veltrano::driver
