#pragma once
// One accessor per settings key, named after the key; each reads at the moment of the call: an
// organisation's policy value when there is a usable one, else the file. Writing needs a
// non-const `Settings` and leaves a key that a policy holds as it is.
#include <string>

#include "settings/ini_file.h"
#include "settings/policy_values.h"
#include "settings/setting_keys.h"

namespace veltrano {

enum class TrayAction : int { None = 0, MainMenu = 1, ManualReplaceMenu = 2, HistoryMenu = 3, CopyTextMenu = 4 };

// The four tray click keys, in the order the start-up repair considers them.
enum class TrayButton { Left, Right, Middle, LeftRight };

class Settings {
public:
    // `policyRoot`: where the policy values lie below HKLM and HKCU; tests give one of their own.
    explicit Settings(std::wstring path, std::wstring policyRoot = kPolicyRoot)
        : ini_(std::move(path)), policy_(std::move(policyRoot)) {}

    const IniFile& Ini() const noexcept { return ini_; }
    IniFile& Ini() noexcept { return ini_; }
    const PolicyValues& Policy() const noexcept { return policy_; }
    PolicyValues& Policy() noexcept { return policy_; }

    // True when a usable policy value holds the key: it is shown, and never written.
    template <typename Setting>
    bool HeldByPolicy(const Setting& setting) const {
        return policy_.Read(setting).has_value();
    }

    bool Read(const BoolSetting& setting) const;
    int Read(const IntSetting& setting) const;
    std::wstring Read(const TextSetting& setting) const;
    // True when the value was stored; a number is limited to the setting's range first. A key a
    // policy holds is not written: false, as its value did not change.
    bool Write(const BoolSetting& setting, bool value);
    bool Write(const IntSetting& setting, int value);
    bool Write(const TextSetting& setting, const std::wstring& value);

    // Clipboard
    bool RespectPrivateCopies() const;
    std::wstring IgnoredApplications() const;
    bool AllowExit() const;

    // Keyword
    bool EncryptKeywordFile() const;
    std::wstring OrganizationKeywordFolder() const;

    // ClipboardReplace
    bool UseClipboardReplace() const;
    bool InitialAutoReplaceEnable() const;
    bool EncryptReplaceFile() const;
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
    bool ClipboardTextWindowResizable() const;
    bool ClipboardTextWindowTouchable() const;
    int ClipboardTextWindowPosX() const;
    int ClipboardTextWindowPosY() const;
    int ClipboardTextWindowWidth() const;
    int ClipboardTextWindowHeight() const;
    int ClipboardTextWindowOpacity() const;
    int ClipboardTextWindowBorderWidth() const;
    bool ClipboardTextWindowHideFromCapture() const;

    // Notify
    int NotifyMode() const;
    std::wstring VoiceName() const;
    int VoiceVolume() const;
    int ClearDetectedClipboardSeconds() const;
    bool ShowSourceApplication() const;
    bool MaskDetectedNumbers() const;
    bool FirstStartNoticeShown() const;

    // Log
    bool UseLog() const;
    bool LogKeywordSearch() const;
    bool LogManualReplace() const;
    bool LogAutoReplace() const;
    bool LogClipboardHistory() const;
    bool LogClipboardFavorites() const;
    bool LogOther() const;
    bool LogMaskSecrets() const;
    bool UseEventLog() const;

    // Detect
    bool DetectPaymentCard() const;
    bool DetectPaymentCardNeedsLabel() const;
    bool DetectMyNumber() const;
    bool DetectMyNumberNeedsLabel() const;
    bool DetectCorporateNumber() const;
    bool DetectCorporateNumberNeedsLabel() const;
    bool DetectCredentials() const;
    bool DetectPasswordAssignments() const;

    // TrayIcon
    TrayAction LeftClick() const;
    TrayAction RightClick() const;
    TrayAction MiddleClick() const;
    TrayAction LeftRightClick() const;
    TrayAction TrayClick(TrayButton button) const;
    bool TrayClickHeldByPolicy(TrayButton button) const;
    bool SetTrayClick(TrayButton button, TrayAction action);

private:
    IniFile ini_;
    PolicyValues policy_;
};

}  // namespace veltrano
