#include "settings/settings.h"

#include <algorithm>

namespace veltrano {
namespace {

const IntSetting& TrayClickSetting(TrayButton button) {
    switch (button) {
        case TrayButton::Left: return setting::kLeftClick;
        case TrayButton::Right: return setting::kRightClick;
        case TrayButton::Middle: return setting::kMiddleClick;
        case TrayButton::LeftRight: return setting::kLeftRightClick;
    }
    return setting::kLeftClick;
}

}  // namespace

bool Settings::Read(const BoolSetting& setting) const {
    if (const std::optional<bool> held = policy_.Read(setting)) return *held;
    return ini_.ReadBool(setting.section, setting.key, setting.fallback);
}

int Settings::Read(const IntSetting& setting) const {
    if (const std::optional<int> held = policy_.Read(setting)) return *held;
    return ini_.ReadInt(setting.section, setting.key, setting.fallback, setting.low, setting.high);
}

std::wstring Settings::Read(const TextSetting& setting) const {
    if (std::optional<std::wstring> held = policy_.Read(setting)) return std::move(*held);
    return ini_.ReadString(setting.section, setting.key, setting.fallback);
}

bool Settings::Write(const BoolSetting& setting, bool value) {
    return !HeldByPolicy(setting) && ini_.WriteBool(setting.section, setting.key, value);
}

bool Settings::Write(const IntSetting& setting, int value) {
    return !HeldByPolicy(setting) && ini_.WriteInt(setting.section, setting.key, std::clamp(value, setting.low, setting.high));
}

bool Settings::Write(const TextSetting& setting, const std::wstring& value) {
    return !HeldByPolicy(setting) && ini_.WriteString(setting.section, setting.key, value);
}

bool Settings::RespectPrivateCopies() const { return Read(setting::kRespectPrivateCopies); }
bool Settings::AllowExit() const { return Read(setting::kAllowExit); }
std::wstring Settings::IgnoredApplications() const { return Read(setting::kIgnoredApplications); }

bool Settings::EncryptKeywordFile() const { return Read(setting::kEncryptKeywordFile); }
std::wstring Settings::OrganizationKeywordFolder() const { return Read(setting::kOrganizationKeywordFolder); }

bool Settings::UseClipboardReplace() const { return Read(setting::kUseClipboardReplace); }
bool Settings::InitialAutoReplaceEnable() const { return Read(setting::kInitialAutoReplaceEnable); }
bool Settings::EncryptReplaceFile() const { return Read(setting::kEncryptReplaceFile); }
bool Settings::PreventConsecutiveAutoReplace() const { return Read(setting::kPreventConsecutiveAutoReplace); }
int Settings::ReplaceContinuousIntervalMs() const { return Read(setting::kReplaceContinuousIntervalMs); }
int Settings::ReplaceContinuousCount() const { return Read(setting::kReplaceContinuousCount); }
bool Settings::NotifyAfterManualReplace() const { return Read(setting::kNotifyAfterManualReplace); }
bool Settings::NotifyAfterAutoReplace() const { return Read(setting::kNotifyAfterAutoReplace); }

bool Settings::UseClipboardHistory() const { return Read(setting::kUseClipboardHistory); }
bool Settings::ClipboardHistoryReverseOrder() const { return Read(setting::kClipboardHistoryReverseOrder); }
int Settings::ClipboardHistoryMaxCount() const { return Read(setting::kClipboardHistoryMaxCount); }

bool Settings::UseClipboardTextWindow() const { return Read(setting::kUseClipboardTextWindow); }
bool Settings::ClipboardTextWindowResizable() const { return Read(setting::kClipboardTextWindowResizable); }
bool Settings::ClipboardTextWindowTouchable() const { return Read(setting::kClipboardTextWindowTouchable); }
int Settings::ClipboardTextWindowPosX() const { return Read(setting::kClipboardTextWindowPosX); }
int Settings::ClipboardTextWindowPosY() const { return Read(setting::kClipboardTextWindowPosY); }
int Settings::ClipboardTextWindowWidth() const { return Read(setting::kClipboardTextWindowWidth); }
int Settings::ClipboardTextWindowHeight() const { return Read(setting::kClipboardTextWindowHeight); }
int Settings::ClipboardTextWindowOpacity() const { return Read(setting::kClipboardTextWindowOpacity); }
int Settings::ClipboardTextWindowBorderWidth() const { return Read(setting::kClipboardTextWindowBorderWidth); }
bool Settings::ClipboardTextWindowHideFromCapture() const { return Read(setting::kClipboardTextWindowHideFromCapture); }

int Settings::NotifyMode() const { return Read(setting::kNotifyMode); }
std::wstring Settings::VoiceName() const { return Read(setting::kVoiceName); }
int Settings::VoiceVolume() const { return Read(setting::kVoiceVolume); }
int Settings::ClearDetectedClipboardSeconds() const { return Read(setting::kClearDetectedClipboardSeconds); }
bool Settings::ShowSourceApplication() const { return Read(setting::kShowSourceApplication); }
bool Settings::MaskDetectedNumbers() const { return Read(setting::kMaskDetectedNumbers); }
bool Settings::FirstStartNoticeShown() const { return Read(setting::kFirstStartNoticeShown); }

bool Settings::UseLog() const { return Read(setting::kUseLog); }
bool Settings::LogKeywordSearch() const { return Read(setting::kLogKeywordSearch); }
bool Settings::LogManualReplace() const { return Read(setting::kLogManualReplace); }
bool Settings::LogAutoReplace() const { return Read(setting::kLogAutoReplace); }
bool Settings::LogClipboardHistory() const { return Read(setting::kLogClipboardHistory); }
bool Settings::LogClipboardFavorites() const { return Read(setting::kLogClipboardFavorites); }
bool Settings::LogOther() const { return Read(setting::kLogOther); }
bool Settings::LogMaskSecrets() const { return Read(setting::kLogMaskSecrets); }
bool Settings::UseEventLog() const { return Read(setting::kUseEventLog); }

bool Settings::DetectPaymentCard() const { return Read(setting::kDetectPaymentCard); }
bool Settings::DetectPaymentCardNeedsLabel() const { return Read(setting::kDetectPaymentCardNeedsLabel); }
bool Settings::DetectMyNumber() const { return Read(setting::kDetectMyNumber); }
bool Settings::DetectMyNumberNeedsLabel() const { return Read(setting::kDetectMyNumberNeedsLabel); }
bool Settings::DetectCorporateNumber() const { return Read(setting::kDetectCorporateNumber); }
bool Settings::DetectCorporateNumberNeedsLabel() const { return Read(setting::kDetectCorporateNumberNeedsLabel); }
bool Settings::DetectCredentials() const { return Read(setting::kDetectCredentials); }
bool Settings::DetectPasswordAssignments() const { return Read(setting::kDetectPasswordAssignments); }

TrayAction Settings::LeftClick() const { return TrayClick(TrayButton::Left); }
TrayAction Settings::RightClick() const { return TrayClick(TrayButton::Right); }
TrayAction Settings::MiddleClick() const { return TrayClick(TrayButton::Middle); }
TrayAction Settings::LeftRightClick() const { return TrayClick(TrayButton::LeftRight); }

TrayAction Settings::TrayClick(TrayButton button) const {
    const int value = Read(TrayClickSetting(button));
    // Only the four real actions stand; anything else means no action.
    return value >= 1 && value <= 4 ? static_cast<TrayAction>(value) : TrayAction::None;
}

bool Settings::TrayClickHeldByPolicy(TrayButton button) const { return HeldByPolicy(TrayClickSetting(button)); }

bool Settings::SetTrayClick(TrayButton button, TrayAction action) {
    return Write(TrayClickSetting(button), static_cast<int>(action));
}

}  // namespace veltrano
