#include "settingsdialog/setting_controls.h"

#include "resource.h"

namespace veltrano {
namespace {

using namespace setting;

constexpr SettingControl kControls[] = {
    {IDC_BASIC_ENCRYPT_KEYWORDS, &kEncryptKeywordFile},
    {IDC_BASIC_NOTIFY_MODE, &kNotifyMode},
    {IDC_BASIC_VOICE, &kVoiceName},
    {IDC_BASIC_VOLUME, &kVoiceVolume},

    {IDC_REPLACE_USE, &kUseClipboardReplace},
    {IDC_REPLACE_INITIAL_AUTO, &kInitialAutoReplaceEnable},
    {IDC_REPLACE_ENCRYPT, &kEncryptReplaceFile},
    {IDC_REPLACE_PREVENT_CONSECUTIVE, &kPreventConsecutiveAutoReplace},
    {IDC_REPLACE_INTERVAL_LABEL, &kReplaceContinuousIntervalMs},
    {IDC_REPLACE_INTERVAL, &kReplaceContinuousIntervalMs},
    {IDC_REPLACE_INTERVAL_UPDOWN, &kReplaceContinuousIntervalMs},
    {IDC_REPLACE_COUNT_LABEL, &kReplaceContinuousCount},
    {IDC_REPLACE_COUNT, &kReplaceContinuousCount},
    {IDC_REPLACE_COUNT_UPDOWN, &kReplaceContinuousCount},
    {IDC_REPLACE_NOTIFY_MANUAL, &kNotifyAfterManualReplace},
    {IDC_REPLACE_NOTIFY_AUTO, &kNotifyAfterAutoReplace},

    {IDC_HISTORY_USE, &kUseClipboardHistory},
    {IDC_HISTORY_REVERSE_ORDER, &kClipboardHistoryReverseOrder},
    {IDC_HISTORY_MAX_COUNT_LABEL, &kClipboardHistoryMaxCount},
    {IDC_HISTORY_MAX_COUNT, &kClipboardHistoryMaxCount},
    {IDC_HISTORY_MAX_COUNT_UPDOWN, &kClipboardHistoryMaxCount},

    {IDC_LOG_USE, &kUseLog},
    {IDC_LOG_KEYWORD_SEARCH, &kLogKeywordSearch},
    {IDC_LOG_MANUAL_REPLACE, &kLogManualReplace},
    {IDC_LOG_AUTO_REPLACE, &kLogAutoReplace},
    {IDC_LOG_CLIPBOARD_HISTORY, &kLogClipboardHistory},
    {IDC_LOG_CLIPBOARD_FAVORITES, &kLogClipboardFavorites},
    {IDC_LOG_OTHER, &kLogOther},
    {IDC_LOG_MASK_SECRETS, &kLogMaskSecrets},
    {IDC_LOG_USE_EVENT_LOG, &kUseEventLog},

    {IDC_TEXT_WINDOW_SHOW, &kUseClipboardTextWindow},
    {IDC_TEXT_WINDOW_RESIZABLE, &kClipboardTextWindowResizable},
    {IDC_TEXT_WINDOW_TOUCHABLE, &kClipboardTextWindowTouchable},
    {IDC_TEXT_WINDOW_POS_X_LABEL, &kClipboardTextWindowPosX},
    {IDC_TEXT_WINDOW_POS_X, &kClipboardTextWindowPosX},
    {IDC_TEXT_WINDOW_POS_X_UPDOWN, &kClipboardTextWindowPosX},
    {IDC_TEXT_WINDOW_POS_X_UNIT, &kClipboardTextWindowPosX},
    {IDC_TEXT_WINDOW_POS_Y_LABEL, &kClipboardTextWindowPosY},
    {IDC_TEXT_WINDOW_POS_Y, &kClipboardTextWindowPosY},
    {IDC_TEXT_WINDOW_POS_Y_UPDOWN, &kClipboardTextWindowPosY},
    {IDC_TEXT_WINDOW_POS_Y_UNIT, &kClipboardTextWindowPosY},
    {IDC_TEXT_WINDOW_WIDTH_LABEL, &kClipboardTextWindowWidth},
    {IDC_TEXT_WINDOW_WIDTH, &kClipboardTextWindowWidth},
    {IDC_TEXT_WINDOW_WIDTH_UPDOWN, &kClipboardTextWindowWidth},
    {IDC_TEXT_WINDOW_WIDTH_UNIT, &kClipboardTextWindowWidth},
    {IDC_TEXT_WINDOW_HEIGHT_LABEL, &kClipboardTextWindowHeight},
    {IDC_TEXT_WINDOW_HEIGHT, &kClipboardTextWindowHeight},
    {IDC_TEXT_WINDOW_HEIGHT_UPDOWN, &kClipboardTextWindowHeight},
    {IDC_TEXT_WINDOW_HEIGHT_UNIT, &kClipboardTextWindowHeight},
    {IDC_TEXT_WINDOW_OPACITY_LABEL, &kClipboardTextWindowOpacity},
    {IDC_TEXT_WINDOW_OPACITY, &kClipboardTextWindowOpacity},
    {IDC_TEXT_WINDOW_OPACITY_UPDOWN, &kClipboardTextWindowOpacity},
    {IDC_TEXT_WINDOW_OPACITY_RANGE, &kClipboardTextWindowOpacity},
    {IDC_TEXT_WINDOW_BORDER_WIDTH_LABEL, &kClipboardTextWindowBorderWidth},
    {IDC_TEXT_WINDOW_BORDER_WIDTH, &kClipboardTextWindowBorderWidth},
    {IDC_TEXT_WINDOW_BORDER_WIDTH_UPDOWN, &kClipboardTextWindowBorderWidth},
    {IDC_TEXT_WINDOW_BORDER_WIDTH_UNIT, &kClipboardTextWindowBorderWidth},

    {IDC_TRAY_LEFT_CLICK, &kLeftClick},
    {IDC_TRAY_RIGHT_CLICK, &kRightClick},
    {IDC_TRAY_MIDDLE_CLICK, &kMiddleClick},
    {IDC_TRAY_LEFT_RIGHT_CLICK, &kLeftRightClick},

    {IDC_PROTECT_PAYMENT_CARD, &kDetectPaymentCard},
    {IDC_PROTECT_PAYMENT_CARD_LABEL, &kDetectPaymentCardNeedsLabel},
    {IDC_PROTECT_MY_NUMBER, &kDetectMyNumber},
    {IDC_PROTECT_MY_NUMBER_LABEL, &kDetectMyNumberNeedsLabel},
    {IDC_PROTECT_CORPORATE_NUMBER, &kDetectCorporateNumber},
    {IDC_PROTECT_CORPORATE_NUMBER_LABEL, &kDetectCorporateNumberNeedsLabel},
    {IDC_PROTECT_PASSPORT_NUMBER, &kDetectPassportNumber},
    {IDC_PROTECT_DRIVER_LICENSE_NUMBER, &kDetectDriverLicenseNumber},
    {IDC_PROTECT_RESIDENCE_CARD_NUMBER, &kDetectResidenceCardNumber},
    {IDC_PROTECT_BASIC_PENSION_NUMBER, &kDetectBasicPensionNumber},
    {IDC_PROTECT_BANK_ACCOUNT_NUMBER, &kDetectBankAccountNumber},
    {IDC_PROTECT_CREDENTIALS, &kDetectCredentials},
    {IDC_PROTECT_PASSWORD_ASSIGNMENTS, &kDetectPasswordAssignments},
    {IDC_PROTECT_MASK_NUMBERS, &kMaskDetectedNumbers},
    {IDC_PROTECT_CLEAR_SECONDS_LABEL, &kClearDetectedClipboardSeconds},
    {IDC_PROTECT_CLEAR_SECONDS, &kClearDetectedClipboardSeconds},
    {IDC_PROTECT_CLEAR_SECONDS_UPDOWN, &kClearDetectedClipboardSeconds},
    {IDC_PROTECT_SHOW_SOURCE, &kShowSourceApplication},
    {IDC_PROTECT_IGNORED_APPS_LABEL, &kIgnoredApplications},
    {IDC_PROTECT_IGNORED_APPS, &kIgnoredApplications},
};

}  // namespace

std::span<const SettingControl> SettingControls() { return kControls; }

bool HeldByPolicy(const Settings& settings, const AnySetting& setting) {
    return std::visit([&](const auto* held) { return settings.HeldByPolicy(*held); }, setting);
}

}  // namespace veltrano
