#pragma once
// Every key of the settings file, once: its section, name, default and range. The accessors of
// `Settings`, the settings pages and their input checks all read these descriptions.
#include <climits>
#include <variant>

namespace veltrano {

namespace section {
inline constexpr const wchar_t* kClipboard = L"Clipboard";
inline constexpr const wchar_t* kKeyword = L"Keyword";
inline constexpr const wchar_t* kClipboardReplace = L"ClipboardReplace";
inline constexpr const wchar_t* kClipboardHistory = L"ClipboardHistory";
inline constexpr const wchar_t* kClipboardTextWindow = L"ClipboardTextWindow";
inline constexpr const wchar_t* kNotify = L"Notify";
inline constexpr const wchar_t* kLog = L"Log";
inline constexpr const wchar_t* kTrayIcon = L"TrayIcon";
inline constexpr const wchar_t* kDetect = L"Detect";
}  // namespace section

struct BoolSetting {
    const wchar_t* section;
    const wchar_t* key;
    bool fallback;
};

// Read and written values are limited to [low, high].
struct IntSetting {
    const wchar_t* section;
    const wchar_t* key;
    int fallback;
    int low;
    int high;
};

struct TextSetting {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* fallback;
};

namespace setting {
using namespace section;

inline constexpr BoolSetting kRespectPrivateCopies{kClipboard, L"RespectPrivateCopies", true};
// File names of programs whose copies are handled as private, separated by ";".
inline constexpr TextSetting kIgnoredApplications{kClipboard, L"IgnoredApplications", L""};
// Off (an organisation's policy): the user cannot end the guard; the session and installers still can.
inline constexpr BoolSetting kAllowExit{kClipboard, L"AllowExit", true};

inline constexpr BoolSetting kEncryptKeywordFile{kKeyword, L"EncryptKeywordFile", false};
// The folder (usually a share) of the organisation's keyword lists; empty: none.
inline constexpr TextSetting kOrganizationKeywordFolder{kKeyword, L"OrganizationKeywordFolder", L""};

inline constexpr BoolSetting kUseClipboardReplace{kClipboardReplace, L"UseClipboardReplace", true};
inline constexpr BoolSetting kInitialAutoReplaceEnable{kClipboardReplace, L"InitialAutoReplaceEnable", false};
inline constexpr BoolSetting kEncryptReplaceFile{kClipboardReplace, L"EncryptReplaceFile", false};
inline constexpr BoolSetting kPreventConsecutiveAutoReplace{kClipboardReplace, L"PreventConsecutiveAutoReplace", false};
inline constexpr IntSetting kReplaceContinuousIntervalMs{kClipboardReplace, L"ReplaceContinuousIntervalMs", 1000, 10,
                                                         60000};
// No upper bound; zero or less would forbid every replacement, so it counts as one.
inline constexpr IntSetting kReplaceContinuousCount{kClipboardReplace, L"ReplaceContinuousCount", 10, 1, INT_MAX};
inline constexpr BoolSetting kNotifyAfterManualReplace{kClipboardReplace, L"NotifyAfterManualReplace", true};
inline constexpr BoolSetting kNotifyAfterAutoReplace{kClipboardReplace, L"NotifyAfterAutoReplace", true};

inline constexpr BoolSetting kUseClipboardHistory{kClipboardHistory, L"UseClipboardHistory", true};
inline constexpr BoolSetting kClipboardHistoryReverseOrder{kClipboardHistory, L"ClipboardHistoryReverseOrder", false};
inline constexpr IntSetting kClipboardHistoryMaxCount{kClipboardHistory, L"ClipboardHistoryMaxCount", 50, 1, 9999};

inline constexpr BoolSetting kUseClipboardTextWindow{kClipboardTextWindow, L"UseClipboardTextWindow", false};
inline constexpr BoolSetting kClipboardTextWindowResizable{kClipboardTextWindow, L"ClipboardTextWindowResizable", true};
inline constexpr BoolSetting kClipboardTextWindowTouchable{kClipboardTextWindow, L"ClipboardTextWindowTouchable", true};
inline constexpr IntSetting kClipboardTextWindowPosX{
    kClipboardTextWindow, L"ClipboardTextWindowPosX", 100, INT_MIN, INT_MAX};
inline constexpr IntSetting kClipboardTextWindowPosY{
    kClipboardTextWindow, L"ClipboardTextWindowPosY", 100, INT_MIN, INT_MAX};
inline constexpr IntSetting kClipboardTextWindowWidth{kClipboardTextWindow, L"ClipboardTextWindowWidth", 400, 32, 10000};
inline constexpr IntSetting kClipboardTextWindowHeight{kClipboardTextWindow, L"ClipboardTextWindowHeight", 200, 32,
                                                       10000};
inline constexpr IntSetting kClipboardTextWindowOpacity{kClipboardTextWindow, L"ClipboardTextWindowOpacity", 200, 8,
                                                        255};
inline constexpr IntSetting kClipboardTextWindowBorderWidth{kClipboardTextWindow, L"ClipboardTextWindowBorderWidth", 6,
                                                            0, 999};
inline constexpr BoolSetting kClipboardTextWindowHideFromCapture{kClipboardTextWindow,
                                                                 L"ClipboardTextWindowHideFromCapture", true};

inline constexpr IntSetting kNotifyMode{kNotify, L"NotifyMode", 0, 0, 4};
inline constexpr TextSetting kVoiceName{kNotify, L"VoiceName", L""};
inline constexpr IntSetting kVoiceVolume{kNotify, L"VoiceVolume", 60, 0, 100};
// Seconds after a detection until the clipboard is emptied if it still holds that copy; 0 never.
inline constexpr IntSetting kClearDetectedClipboardSeconds{kNotify, L"ClearDetectedClipboardSeconds", 0, 0, 3600};
inline constexpr BoolSetting kShowSourceApplication{kNotify, L"ShowSourceApplication", false};
inline constexpr BoolSetting kMaskDetectedNumbers{kNotify, L"MaskDetectedNumbers", true};
// Set once the first start's notice was shown; a policy may set it to skip the notice.
inline constexpr BoolSetting kFirstStartNoticeShown{kNotify, L"FirstStartNoticeShown", false};

inline constexpr BoolSetting kUseLog{kLog, L"UseLog", false};
inline constexpr BoolSetting kLogKeywordSearch{kLog, L"LogKeywordSearch", true};
inline constexpr BoolSetting kLogManualReplace{kLog, L"LogManualReplace", true};
inline constexpr BoolSetting kLogAutoReplace{kLog, L"LogAutoReplace", true};
inline constexpr BoolSetting kLogClipboardHistory{kLog, L"LogClipboardHistory", true};
inline constexpr BoolSetting kLogClipboardFavorites{kLog, L"LogClipboardFavorites", true};
inline constexpr BoolSetting kLogOther{kLog, L"LogOther", true};
// Copied and replaced texts appear in log lines only as their length and a keyed hash.
inline constexpr BoolSetting kLogMaskSecrets{kLog, L"LogMaskSecrets", false};
// Detections and the guard's state also go to the Windows Application log, never with copied text.
inline constexpr BoolSetting kUseEventLog{kLog, L"UseEventLog", false};

// The tray click keys hold an action value; anything but the four actions reads as no action.
inline constexpr IntSetting kLeftClick{kTrayIcon, L"LeftClick", 2, INT_MIN, INT_MAX};
inline constexpr IntSetting kRightClick{kTrayIcon, L"RightClick", 1, INT_MIN, INT_MAX};
inline constexpr IntSetting kMiddleClick{kTrayIcon, L"MiddleClick", 3, INT_MIN, INT_MAX};
inline constexpr IntSetting kLeftRightClick{kTrayIcon, L"LeftRightClick", 4, INT_MIN, INT_MAX};

// The built-in detectors of real identifiers, each with its label rule.
// Card and My Number guarded out of the box; corporate numbers are public.
inline constexpr BoolSetting kDetectPaymentCard{kDetect, L"DetectPaymentCard", true};
inline constexpr BoolSetting kDetectPaymentCardNeedsLabel{kDetect, L"DetectPaymentCardNeedsLabel", false};
inline constexpr BoolSetting kDetectMyNumber{kDetect, L"DetectMyNumber", true};
inline constexpr BoolSetting kDetectMyNumberNeedsLabel{kDetect, L"DetectMyNumberNeedsLabel", true};
inline constexpr BoolSetting kDetectCorporateNumber{kDetect, L"DetectCorporateNumber", false};
inline constexpr BoolSetting kDetectCorporateNumberNeedsLabel{kDetect, L"DetectCorporateNumberNeedsLabel", true};
// Without their label these are every order number: they are always looked for near one.
inline constexpr BoolSetting kDetectPassportNumber{kDetect, L"DetectPassportNumber", true};
inline constexpr BoolSetting kDetectDriverLicenseNumber{kDetect, L"DetectDriverLicenseNumber", true};
inline constexpr BoolSetting kDetectResidenceCardNumber{kDetect, L"DetectResidenceCardNumber", true};
inline constexpr BoolSetting kDetectBasicPensionNumber{kDetect, L"DetectBasicPensionNumber", true};
inline constexpr BoolSetting kDetectBankAccountNumber{kDetect, L"DetectBankAccountNumber", true};
// Credentials: formats that say what they are (keys, tokens, hashes), and values given to a
// name that says they are secret ("DB_PASSWORD=…", 「パスワード：…」).
inline constexpr BoolSetting kDetectCredentials{kDetect, L"DetectCredentials", true};
inline constexpr BoolSetting kDetectPasswordAssignments{kDetect, L"DetectPasswordAssignments", true};
}  // namespace setting

// Every key above, once: what the manual's table of keys is checked against.
using AnySettingKey = std::variant<const BoolSetting*, const IntSetting*, const TextSetting*>;
inline constexpr AnySettingKey kAllSettings[] = {
    &setting::kRespectPrivateCopies, &setting::kIgnoredApplications, &setting::kAllowExit, &setting::kEncryptKeywordFile,
    &setting::kOrganizationKeywordFolder, &setting::kUseClipboardReplace, &setting::kInitialAutoReplaceEnable,
    &setting::kEncryptReplaceFile, &setting::kPreventConsecutiveAutoReplace, &setting::kReplaceContinuousIntervalMs,
    &setting::kReplaceContinuousCount, &setting::kNotifyAfterManualReplace, &setting::kNotifyAfterAutoReplace,
    &setting::kUseClipboardHistory, &setting::kClipboardHistoryReverseOrder, &setting::kClipboardHistoryMaxCount,
    &setting::kUseClipboardTextWindow, &setting::kClipboardTextWindowResizable,
    &setting::kClipboardTextWindowTouchable, &setting::kClipboardTextWindowPosX, &setting::kClipboardTextWindowPosY,
    &setting::kClipboardTextWindowWidth, &setting::kClipboardTextWindowHeight, &setting::kClipboardTextWindowOpacity,
    &setting::kClipboardTextWindowBorderWidth, &setting::kClipboardTextWindowHideFromCapture, &setting::kNotifyMode,
    &setting::kVoiceName, &setting::kVoiceVolume, &setting::kClearDetectedClipboardSeconds,
    &setting::kShowSourceApplication, &setting::kMaskDetectedNumbers, &setting::kFirstStartNoticeShown,
    &setting::kUseLog, &setting::kLogKeywordSearch, &setting::kLogManualReplace, &setting::kLogAutoReplace,
    &setting::kLogClipboardHistory, &setting::kLogClipboardFavorites, &setting::kLogOther, &setting::kLogMaskSecrets,
    &setting::kUseEventLog, &setting::kLeftClick, &setting::kRightClick, &setting::kMiddleClick,
    &setting::kLeftRightClick, &setting::kDetectPaymentCard, &setting::kDetectPaymentCardNeedsLabel,
    &setting::kDetectMyNumber, &setting::kDetectMyNumberNeedsLabel, &setting::kDetectCorporateNumber,
    &setting::kDetectCorporateNumberNeedsLabel, &setting::kDetectPassportNumber, &setting::kDetectDriverLicenseNumber,
    &setting::kDetectResidenceCardNumber, &setting::kDetectBasicPensionNumber, &setting::kDetectBankAccountNumber,
    &setting::kDetectCredentials, &setting::kDetectPasswordAssignments,
};

}  // namespace veltrano
