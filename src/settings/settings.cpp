#include "settings/settings.h"

#include <algorithm>
#include <climits>

namespace veltrano {
namespace {

const wchar_t* TrayKey(TrayButton button) {
    switch (button) {
        case TrayButton::Left: return L"LeftClick";
        case TrayButton::Right: return L"RightClick";
        case TrayButton::Middle: return L"MiddleClick";
        case TrayButton::LeftRight: return L"LeftRightClick";
    }
    return L"";
}

TrayAction DefaultTrayAction(TrayButton button) {
    switch (button) {
        case TrayButton::Left: return TrayAction::ManualReplaceMenu;
        case TrayButton::Right: return TrayAction::MainMenu;
        case TrayButton::Middle: return TrayAction::HistoryMenu;
        case TrayButton::LeftRight: return TrayAction::CopyTextMenu;
    }
    return TrayAction::None;
}

}  // namespace

bool Settings::RespectPrivateCopies() const { return ini_.ReadBool(section::kClipboard, L"RespectPrivateCopies", true); }

bool Settings::EncryptKeywordFile() const { return ini_.ReadBool(section::kKeyword, L"EncryptKeywordFile", false); }
bool Settings::SetEncryptKeywordFile(bool value) const {
    return ini_.WriteBool(section::kKeyword, L"EncryptKeywordFile", value);
}

bool Settings::UseClipboardReplace() const {
    return ini_.ReadBool(section::kClipboardReplace, L"UseClipboardReplace", true);
}
bool Settings::InitialAutoReplaceEnable() const {
    return ini_.ReadBool(section::kClipboardReplace, L"InitialAutoReplaceEnable", false);
}
bool Settings::EncryptReplaceFile() const {
    return ini_.ReadBool(section::kClipboardReplace, L"EncryptReplaceFile", false);
}
bool Settings::SetEncryptReplaceFile(bool value) const {
    return ini_.WriteBool(section::kClipboardReplace, L"EncryptReplaceFile", value);
}
bool Settings::PreventConsecutiveAutoReplace() const {
    return ini_.ReadBool(section::kClipboardReplace, L"PreventConsecutiveAutoReplace", false);
}
int Settings::ReplaceContinuousIntervalMs() const {
    return ini_.ReadInt(section::kClipboardReplace, L"ReplaceContinuousIntervalMs", 1000, 10, 60000);
}
int Settings::ReplaceContinuousCount() const {
    // No upper bound; zero or less would forbid every replacement, so it counts as one.
    return ini_.ReadInt(section::kClipboardReplace, L"ReplaceContinuousCount", 10, 1, INT_MAX);
}
bool Settings::NotifyAfterManualReplace() const {
    return ini_.ReadBool(section::kClipboardReplace, L"NotifyAfterManualReplace", true);
}
bool Settings::NotifyAfterAutoReplace() const {
    return ini_.ReadBool(section::kClipboardReplace, L"NotifyAfterAutoReplace", true);
}

bool Settings::UseClipboardHistory() const {
    return ini_.ReadBool(section::kClipboardHistory, L"UseClipboardHistory", true);
}
bool Settings::ClipboardHistoryReverseOrder() const {
    return ini_.ReadBool(section::kClipboardHistory, L"ClipboardHistoryReverseOrder", false);
}
int Settings::ClipboardHistoryMaxCount() const {
    return ini_.ReadInt(section::kClipboardHistory, L"ClipboardHistoryMaxCount", 50, 1, 9999);
}

bool Settings::ClipboardTextWindowHideFromCapture() const {
    return ini_.ReadBool(section::kClipboardTextWindow, L"ClipboardTextWindowHideFromCapture", true);
}
bool Settings::UseClipboardTextWindow() const {
    return ini_.ReadBool(section::kClipboardTextWindow, L"UseClipboardTextWindow", false);
}
bool Settings::SetUseClipboardTextWindow(bool value) const {
    return ini_.WriteBool(section::kClipboardTextWindow, L"UseClipboardTextWindow", value);
}
bool Settings::ClipboardTextWindowResizable() const {
    return ini_.ReadBool(section::kClipboardTextWindow, L"ClipboardTextWindowResizable", true);
}
bool Settings::SetClipboardTextWindowResizable(bool value) const {
    return ini_.WriteBool(section::kClipboardTextWindow, L"ClipboardTextWindowResizable", value);
}
bool Settings::ClipboardTextWindowTouchable() const {
    return ini_.ReadBool(section::kClipboardTextWindow, L"ClipboardTextWindowTouchable", true);
}
bool Settings::SetClipboardTextWindowTouchable(bool value) const {
    return ini_.WriteBool(section::kClipboardTextWindow, L"ClipboardTextWindowTouchable", value);
}
int Settings::ClipboardTextWindowPosX() const {
    return ini_.ReadSignedInt(section::kClipboardTextWindow, L"ClipboardTextWindowPosX", 100, INT_MIN, INT_MAX);
}
bool Settings::SetClipboardTextWindowPosX(int value) const {
    return ini_.WriteInt(section::kClipboardTextWindow, L"ClipboardTextWindowPosX", value);
}
int Settings::ClipboardTextWindowPosY() const {
    return ini_.ReadSignedInt(section::kClipboardTextWindow, L"ClipboardTextWindowPosY", 100, INT_MIN, INT_MAX);
}
bool Settings::SetClipboardTextWindowPosY(int value) const {
    return ini_.WriteInt(section::kClipboardTextWindow, L"ClipboardTextWindowPosY", value);
}
int Settings::ClipboardTextWindowWidth() const {
    return ini_.ReadInt(section::kClipboardTextWindow, L"ClipboardTextWindowWidth", 400, kTextWindowSizeMin, kTextWindowSizeMax);
}
bool Settings::SetClipboardTextWindowWidth(int value) const {
    return ini_.WriteInt(section::kClipboardTextWindow, L"ClipboardTextWindowWidth",
                         std::clamp(value, kTextWindowSizeMin, kTextWindowSizeMax));
}
int Settings::ClipboardTextWindowHeight() const {
    return ini_.ReadInt(section::kClipboardTextWindow, L"ClipboardTextWindowHeight", 200, kTextWindowSizeMin, kTextWindowSizeMax);
}
bool Settings::SetClipboardTextWindowHeight(int value) const {
    return ini_.WriteInt(section::kClipboardTextWindow, L"ClipboardTextWindowHeight",
                         std::clamp(value, kTextWindowSizeMin, kTextWindowSizeMax));
}
int Settings::ClipboardTextWindowOpacity() const {
    return ini_.ReadInt(section::kClipboardTextWindow, L"ClipboardTextWindowOpacity", 200, kTextWindowOpacityMin, kTextWindowOpacityMax);
}
bool Settings::SetClipboardTextWindowOpacity(int value) const {
    return ini_.WriteInt(section::kClipboardTextWindow, L"ClipboardTextWindowOpacity",
                         std::clamp(value, kTextWindowOpacityMin, kTextWindowOpacityMax));
}
int Settings::ClipboardTextWindowBorderWidth() const {
    return ini_.ReadInt(section::kClipboardTextWindow, L"ClipboardTextWindowBorderWidth", 6, kTextWindowBorderWidthMin,
                        kTextWindowBorderWidthMax);
}

int Settings::NotifyMode() const { return ini_.ReadInt(section::kNotify, L"NotifyMode", 0, 0, 4); }
std::wstring Settings::VoiceName() const { return ini_.ReadString(section::kNotify, L"VoiceName", L""); }
int Settings::VoiceVolume() const { return ini_.ReadInt(section::kNotify, L"VoiceVolume", 60, 0, 100); }

bool Settings::UseLog() const { return ini_.ReadBool(section::kLog, L"UseLog", false); }
bool Settings::LogKeywordSearch() const { return ini_.ReadBool(section::kLog, L"LogKeywordSearch", true); }
bool Settings::LogManualReplace() const { return ini_.ReadBool(section::kLog, L"LogManualReplace", true); }
bool Settings::LogAutoReplace() const { return ini_.ReadBool(section::kLog, L"LogAutoReplace", true); }
bool Settings::LogClipboardHistory() const { return ini_.ReadBool(section::kLog, L"LogClipboardHistory", true); }
bool Settings::LogClipboardFavorites() const { return ini_.ReadBool(section::kLog, L"LogClipboardFavorites", true); }
bool Settings::LogOther() const { return ini_.ReadBool(section::kLog, L"LogOther", true); }

TrayAction Settings::LeftClick() const { return TrayClick(TrayButton::Left); }
TrayAction Settings::RightClick() const { return TrayClick(TrayButton::Right); }
TrayAction Settings::MiddleClick() const { return TrayClick(TrayButton::Middle); }
TrayAction Settings::LeftRightClick() const { return TrayClick(TrayButton::LeftRight); }

TrayAction Settings::TrayClick(TrayButton button) const {
    const int fallback = static_cast<int>(DefaultTrayAction(button));
    const int value = ini_.ReadInt(section::kTrayIcon, TrayKey(button), fallback, INT_MIN, INT_MAX);
    // Only the four real actions stand; anything else means no action.
    return value >= 1 && value <= 4 ? static_cast<TrayAction>(value) : TrayAction::None;
}

bool Settings::SetTrayClick(TrayButton button, TrayAction action) const {
    return ini_.WriteInt(section::kTrayIcon, TrayKey(button), static_cast<int>(action));
}

}  // namespace veltrano
