#pragma once
// One accessor per settings key, named after the key; each reads the file at the moment of the call.
#include <string>

#include "settings/ini_file.h"

namespace veltrano {

enum class TrayAction : int { None = 0, MainMenu = 1, ManualReplaceMenu = 2, HistoryMenu = 3, CopyTextMenu = 4 };

// The four tray click keys, in the order the start-up repair considers them.
enum class TrayButton { Left, Right, Middle, LeftRight };

namespace section {
inline constexpr const wchar_t* kClipboard = L"Clipboard";
inline constexpr const wchar_t* kKeyword = L"Keyword";
inline constexpr const wchar_t* kClipboardReplace = L"ClipboardReplace";
inline constexpr const wchar_t* kClipboardHistory = L"ClipboardHistory";
inline constexpr const wchar_t* kClipboardTextWindow = L"ClipboardTextWindow";
inline constexpr const wchar_t* kNotify = L"Notify";
inline constexpr const wchar_t* kLog = L"Log";
inline constexpr const wchar_t* kTrayIcon = L"TrayIcon";
}  // namespace section

// The ranges of the clipboard text window's size and opacity, applied on reading and writing.
inline constexpr int kTextWindowSizeMin = 32;
inline constexpr int kTextWindowSizeMax = 10000;
inline constexpr int kTextWindowOpacityMin = 8;
inline constexpr int kTextWindowOpacityMax = 255;
inline constexpr int kTextWindowBorderWidthMin = 0;
inline constexpr int kTextWindowBorderWidthMax = 999;

class Settings {
public:
    explicit Settings(std::wstring path) : ini_(std::move(path)) {}

    // For the settings pages and commands that write their keys directly.
    const IniFile& Ini() const noexcept { return ini_; }

    // Clipboard
    bool RespectPrivateCopies() const;

    // Keyword
    bool EncryptKeywordFile() const;
    bool SetEncryptKeywordFile(bool value) const;

    // ClipboardReplace
    bool UseClipboardReplace() const;
    bool InitialAutoReplaceEnable() const;
    bool EncryptReplaceFile() const;
    bool SetEncryptReplaceFile(bool value) const;
    bool PreventConsecutiveAutoReplace() const;
    int ReplaceContinuousIntervalMs() const;
    int ReplaceContinuousCount() const;
    bool NotifyAfterManualReplace() const;
    bool NotifyAfterAutoReplace() const;

    // ClipboardHistory
    bool UseClipboardHistory() const;
    bool ClipboardHistoryReverseOrder() const;
    int ClipboardHistoryMaxCount() const;

    // ClipboardTextWindow
    bool UseClipboardTextWindow() const;
    bool SetUseClipboardTextWindow(bool value) const;
    bool ClipboardTextWindowResizable() const;
    bool SetClipboardTextWindowResizable(bool value) const;
    bool ClipboardTextWindowTouchable() const;
    bool SetClipboardTextWindowTouchable(bool value) const;
    int ClipboardTextWindowPosX() const;
    bool SetClipboardTextWindowPosX(int value) const;
    int ClipboardTextWindowPosY() const;
    bool SetClipboardTextWindowPosY(int value) const;
    int ClipboardTextWindowWidth() const;
    bool SetClipboardTextWindowWidth(int value) const;
    int ClipboardTextWindowHeight() const;
    bool SetClipboardTextWindowHeight(int value) const;
    int ClipboardTextWindowOpacity() const;
    bool SetClipboardTextWindowOpacity(int value) const;
    int ClipboardTextWindowBorderWidth() const;
    bool ClipboardTextWindowHideFromCapture() const;

    // Notify
    int NotifyMode() const;
    std::wstring VoiceName() const;
    int VoiceVolume() const;

    // Log
    bool UseLog() const;
    bool LogKeywordSearch() const;
    bool LogManualReplace() const;
    bool LogAutoReplace() const;
    bool LogClipboardHistory() const;
    bool LogClipboardFavorites() const;
    bool LogOther() const;

    // TrayIcon
    TrayAction LeftClick() const;
    TrayAction RightClick() const;
    TrayAction MiddleClick() const;
    TrayAction LeftRightClick() const;
    TrayAction TrayClick(TrayButton button) const;
    bool SetTrayClick(TrayButton button, TrayAction action) const;

private:
    IniFile ini_;
};

}  // namespace veltrano
