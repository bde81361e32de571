#include "settings/settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "support/plain_regex.h"
#include "support/policy_key.h"
#include "support/raw_files.h"
#include "support/temp_folder.h"

namespace veltrano {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    // Stores `value` under `key` the way a user would with an editor (UTF-16LE file).
    void Store(const wchar_t* sectionName, const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(settings.Ini().WriteString(sectionName, key, value));
    }

    test::TempFolder folder;
    std::wstring path = folder / L"taro_Veltrano.ini";
    Settings settings{path};
};

TEST_F(SettingsTest, MissingFileGivesEveryDefault) {
    EXPECT_FALSE(settings.EncryptKeywordFile());
    EXPECT_TRUE(settings.UseClipboardReplace());
    EXPECT_FALSE(settings.InitialAutoReplaceEnable());
    EXPECT_FALSE(settings.EncryptReplaceFile());
    EXPECT_FALSE(settings.PreventConsecutiveAutoReplace());
    EXPECT_EQ(settings.ReplaceContinuousIntervalMs(), 1000);
    EXPECT_EQ(settings.ReplaceContinuousCount(), 10);
    EXPECT_TRUE(settings.NotifyAfterManualReplace());
    EXPECT_TRUE(settings.NotifyAfterAutoReplace());
    EXPECT_TRUE(settings.UseClipboardHistory());
    EXPECT_FALSE(settings.ClipboardHistoryReverseOrder());
    EXPECT_EQ(settings.ClipboardHistoryMaxCount(), 50);
    EXPECT_FALSE(settings.UseClipboardTextWindow());
    EXPECT_TRUE(settings.ClipboardTextWindowResizable());
    EXPECT_TRUE(settings.ClipboardTextWindowTouchable());
    EXPECT_EQ(settings.ClipboardTextWindowPosX(), 100);
    EXPECT_EQ(settings.ClipboardTextWindowPosY(), 100);
    EXPECT_EQ(settings.ClipboardTextWindowWidth(), 400);
    EXPECT_EQ(settings.ClipboardTextWindowHeight(), 200);
    EXPECT_EQ(settings.ClipboardTextWindowOpacity(), 200);
    EXPECT_EQ(settings.ClipboardTextWindowBorderWidth(), 6);
    EXPECT_EQ(settings.NotifyMode(), 0);
    EXPECT_EQ(settings.VoiceName(), L"");
    EXPECT_EQ(settings.VoiceVolume(), 60);
    EXPECT_FALSE(settings.UseLog());
    EXPECT_TRUE(settings.LogKeywordSearch());
    EXPECT_TRUE(settings.LogManualReplace());
    EXPECT_TRUE(settings.LogAutoReplace());
    EXPECT_TRUE(settings.LogClipboardHistory());
    EXPECT_TRUE(settings.LogClipboardFavorites());
    EXPECT_TRUE(settings.LogOther());
    EXPECT_EQ(settings.LeftClick(), TrayAction::ManualReplaceMenu);
    EXPECT_EQ(settings.RightClick(), TrayAction::MainMenu);
    EXPECT_EQ(settings.MiddleClick(), TrayAction::HistoryMenu);
    EXPECT_EQ(settings.LeftRightClick(), TrayAction::CopyTextMenu);
    EXPECT_FALSE(std::filesystem::exists(path)) << "reading must never create the file";
}

TEST_F(SettingsTest, BoolWordsInAnyCase) {
    for (const wchar_t* yes : {L"Yes", L"ON", L"TRUE", L"1", L"true"}) {
        Store(section::kLog, L"UseLog", yes);
        EXPECT_TRUE(settings.UseLog()) << yes;
    }
    for (const wchar_t* no : {L"y", L"enabled", L"2", L"", L"false", L"0"}) {
        Store(section::kClipboardReplace, L"UseClipboardReplace", no);
        EXPECT_FALSE(settings.UseClipboardReplace()) << no;
    }
}

// Integers are read as text: anything but an optional minus sign and ASCII digits gives the
// default (a history must not shrink to one entry over a typo), a number is limited to the range.
TEST_F(SettingsTest, IntegersAreLimitedToTheirRangesAndOtherTextGivesTheDefault) {
    struct Row {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* stored;
        int (Settings::*read)() const;
        int expected;
    };
    const Row rows[] = {
        {section::kClipboardTextWindow, L"ClipboardTextWindowOpacity", L"3", &Settings::ClipboardTextWindowOpacity, 8},
        {section::kClipboardTextWindow, L"ClipboardTextWindowOpacity", L"300", &Settings::ClipboardTextWindowOpacity, 255},
        {section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"0", &Settings::ClipboardHistoryMaxCount, 1},
        {section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"20000", &Settings::ClipboardHistoryMaxCount, 9999},
        {section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"abc", &Settings::ClipboardHistoryMaxCount, 50},
        {section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"５０", &Settings::ClipboardHistoryMaxCount, 50},
        {section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"-3", &Settings::ClipboardHistoryMaxCount, 1},
        {section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"12345678901234567890", &Settings::ClipboardHistoryMaxCount, 9999},
        {section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"", &Settings::ClipboardHistoryMaxCount, 50},
        {section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"7x", &Settings::ClipboardHistoryMaxCount, 50},
        {section::kClipboardReplace, L"ReplaceContinuousIntervalMs", L"5", &Settings::ReplaceContinuousIntervalMs, 10},
        {section::kNotify, L"NotifyMode", L"7", &Settings::NotifyMode, 4},
        {section::kNotify, L"VoiceVolume", L"-3", &Settings::VoiceVolume, 0},
        {section::kClipboardTextWindow, L"ClipboardTextWindowPosX", L"-250", &Settings::ClipboardTextWindowPosX, -250},
        {section::kClipboardTextWindow, L"ClipboardTextWindowPosY", L"-40px", &Settings::ClipboardTextWindowPosY, 100},
        {section::kClipboardReplace, L"ReplaceContinuousCount", L"0", &Settings::ReplaceContinuousCount, 1},
        {section::kClipboardReplace, L"ReplaceContinuousCount", L"-4", &Settings::ReplaceContinuousCount, 1},
        {section::kClipboardReplace, L"ReplaceContinuousCount", L"5000", &Settings::ReplaceContinuousCount, 5000},
    };
    for (const Row& row : rows) {
        Store(row.section, row.key, row.stored);
        EXPECT_EQ((settings.*row.read)(), row.expected) << row.key << "=" << test::Printable(row.stored);
    }
}

TEST_F(SettingsTest, TrayActionsOutsideOneToFourMeanNone) {
    Store(section::kTrayIcon, L"LeftClick", L"7");
    EXPECT_EQ(settings.LeftClick(), TrayAction::None);
    Store(section::kTrayIcon, L"LeftClick", L"-1");
    EXPECT_EQ(settings.LeftClick(), TrayAction::None);
    Store(section::kTrayIcon, L"MiddleClick", L"4");
    EXPECT_EQ(settings.MiddleClick(), TrayAction::CopyTextMenu);
    Store(section::kTrayIcon, L"RightClick", L"0");
    EXPECT_EQ(settings.RightClick(), TrayAction::None);
}

TEST_F(SettingsTest, WriteAccessorsStoreWordsAndLimitedNumbers) {
    EXPECT_TRUE(settings.Write(setting::kUseClipboardTextWindow, true));
    EXPECT_TRUE(settings.Write(setting::kClipboardTextWindowTouchable, false));
    EXPECT_TRUE(settings.Write(setting::kClipboardTextWindowWidth, 5));
    EXPECT_TRUE(settings.Write(setting::kClipboardTextWindowHeight, 20000));
    EXPECT_TRUE(settings.Write(setting::kClipboardTextWindowOpacity, 300));
    EXPECT_TRUE(settings.Write(setting::kClipboardTextWindowPosX, -3000));
    EXPECT_TRUE(settings.Write(setting::kClipboardTextWindowPosY, 123456));
    EXPECT_TRUE(settings.Write(setting::kEncryptKeywordFile, true));

    const IniFile& ini = settings.Ini();
    EXPECT_EQ(ini.ReadString(section::kClipboardTextWindow, L"UseClipboardTextWindow", L""), L"true");
    EXPECT_EQ(ini.ReadString(section::kClipboardTextWindow, L"ClipboardTextWindowTouchable", L""), L"false");
    EXPECT_EQ(ini.ReadString(section::kClipboardTextWindow, L"ClipboardTextWindowWidth", L""), L"32");
    EXPECT_EQ(ini.ReadString(section::kClipboardTextWindow, L"ClipboardTextWindowHeight", L""), L"10000");
    EXPECT_EQ(ini.ReadString(section::kClipboardTextWindow, L"ClipboardTextWindowOpacity", L""), L"255");
    // A position is stored as it is, even far off every screen.
    EXPECT_EQ(ini.ReadString(section::kClipboardTextWindow, L"ClipboardTextWindowPosX", L""), L"-3000");
    EXPECT_EQ(ini.ReadString(section::kClipboardTextWindow, L"ClipboardTextWindowPosY", L""), L"123456");
    EXPECT_TRUE(settings.EncryptKeywordFile());
}

TEST_F(SettingsTest, NewFileIsUnicodeSoJapaneseValuesSurvive) {
    const std::wstring voice = L"VOICEVOX: 四国めたん（ノーマル）";
    Store(section::kNotify, L"VoiceName", voice.c_str());
    EXPECT_EQ(test::ReadBytes(path).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(settings.VoiceName(), voice);
    EXPECT_EQ(Settings(path).VoiceName(), voice) << "a second reader sees the same value";
}

TEST_F(SettingsTest, ExistingAnsiFileKeepsWorking) {
    test::WriteBytes(path, "[Log]\r\nUseLog=yes\r\n[Notify]\r\nNotifyMode=2\r\n");
    EXPECT_TRUE(settings.UseLog());
    EXPECT_TRUE(settings.Write(setting::kUseClipboardTextWindow, true));
    EXPECT_TRUE(settings.UseClipboardTextWindow());
    EXPECT_EQ(settings.NotifyMode(), 2);
    EXPECT_TRUE(settings.UseLog());
}

TEST_F(SettingsTest, LongStringsAreCutTo2047Characters) {
    const std::wstring longName(3000, L'声');
    Store(section::kNotify, L"VoiceName", longName.c_str());
    EXPECT_EQ(settings.VoiceName(), longName.substr(0, 2047));
}

// Whoever holds a const Settings& can only read.
template <typename Holder>
concept CanWriteSettings = requires(Holder& holder) { holder.Write(setting::kUseLog, true); } ||
                           requires(Holder& holder) { holder.Ini().WriteBool(L"Log", L"UseLog", true); };
static_assert(CanWriteSettings<Settings>);
static_assert(!CanWriteSettings<const Settings>);

// Policy values in a key of this test's own (the unit tests share one registry): the machine's
// usable value wins, then the user's, then the file; unusable values are reported once each.
class PolicySettingsTest : public SettingsTest, protected test::PolicyKey {
protected:
    PolicySettingsTest() {
        settings.Policy().SetIgnoredReporter(
            [this](const IgnoredPolicyValue& ignored) { reports.push_back(ignored.value + L" / " + ignored.reason); });
    }

    Settings settings{path, root};
    std::vector<std::wstring> reports;
};

TEST_F(PolicySettingsTest, MachineThenUserThenFileAndAHeldKeyIsNeverWritten) {
    Store(L"Detect", L"DetectMyNumber", L"false");
    Store(L"ClipboardTextWindow", L"ClipboardTextWindowPosX", L"100");
    SetDword(HKEY_LOCAL_MACHINE, L"Detect", L"DetectMyNumber", 1);
    SetDword(HKEY_CURRENT_USER, L"Detect", L"DetectMyNumber", 0);
    SetDword(HKEY_CURRENT_USER, L"ClipboardTextWindow", L"ClipboardTextWindowPosX", -50);  // signed 32 bits
    SetText(HKEY_CURRENT_USER, L"Clipboard", L"IgnoredApplications", L"KeePass.exe;会計.exe");

    EXPECT_TRUE(settings.DetectMyNumber());
    EXPECT_EQ(settings.ClipboardTextWindowPosX(), -50);
    EXPECT_EQ(settings.IgnoredApplications(), L"KeePass.exe;会計.exe");
    EXPECT_TRUE(settings.HeldByPolicy(setting::kDetectMyNumber));
    EXPECT_FALSE(settings.HeldByPolicy(setting::kDetectCorporateNumber));

    EXPECT_FALSE(settings.Write(setting::kDetectMyNumber, true)) << "the value did not change";
    EXPECT_FALSE(settings.Write(setting::kClipboardTextWindowPosX, 300));
    EXPECT_EQ(settings.Ini().ReadString(L"Detect", L"DetectMyNumber", L""), L"false");
    EXPECT_EQ(settings.Ini().ReadString(L"ClipboardTextWindow", L"ClipboardTextWindowPosX", L""), L"100");
    EXPECT_TRUE(settings.Write(setting::kDetectCorporateNumber, true));
    EXPECT_TRUE(settings.DetectCorporateNumber()) << "a key no policy holds is the user's";
    EXPECT_TRUE(reports.empty());
}

TEST_F(PolicySettingsTest, AValueOfTheWrongTypeOrOutOfRangeIsNotUsedAndReportedOnce) {
    Store(L"Notify", L"NotifyMode", L"1");
    Store(L"ClipboardHistory", L"ClipboardHistoryMaxCount", L"30");
    SetText(HKEY_LOCAL_MACHINE, L"Notify", L"NotifyMode", L"2");
    SetDword(HKEY_CURRENT_USER, L"ClipboardHistory", L"ClipboardHistoryMaxCount", 10000);
    SetDword(HKEY_CURRENT_USER, L"Detect", L"DetectPaymentCard", 2);
    const std::uint64_t wide = 1;
    Set(HKEY_CURRENT_USER, L"Clipboard", L"IgnoredApplications", REG_QWORD, &wide, sizeof wide);
    SetDword(HKEY_CURRENT_USER, L"Notify", L"ShowSourceApplication", 1);

    for (int read = 0; read < 2; ++read) {
        EXPECT_EQ(settings.NotifyMode(), 1);
        EXPECT_EQ(settings.ClipboardHistoryMaxCount(), 30);
        EXPECT_TRUE(settings.DetectPaymentCard());
        EXPECT_EQ(settings.IgnoredApplications(), L"");
        EXPECT_TRUE(settings.ShowSourceApplication());
    }
    const std::wstring user = L"HKEY_CURRENT_USER\\" + root;
    EXPECT_EQ(reports, (std::vector<std::wstring>{
                           L"HKEY_LOCAL_MACHINE\\" + root + L"\\Notify\\NotifyMode / 種類が REG_DWORD ではなく REG_SZ です",
                           user + L"\\ClipboardHistory\\ClipboardHistoryMaxCount / 値 10000 が範囲 1～9999 の外です",
                           user + L"\\Detect\\DetectPaymentCard / 値 2 が範囲 0～1 の外です",
                           user + L"\\Clipboard\\IgnoredApplications / 種類が REG_SZ ではなく REG_QWORD です"}));

    // An unusable machine value leaves the user's policy in force.
    SetDword(HKEY_CURRENT_USER, L"Notify", L"NotifyMode", 3);
    EXPECT_EQ(settings.NotifyMode(), 3);
}

TEST(SettingsWithoutPath, ReadsDefaultsAndRefusesWrites) {
    Settings settings{L""};
    EXPECT_TRUE(settings.UseClipboardReplace());
    EXPECT_EQ(settings.ClipboardHistoryMaxCount(), 50);
    EXPECT_EQ(settings.RightClick(), TrayAction::MainMenu);
    EXPECT_EQ(settings.VoiceName(), L"");
    EXPECT_FALSE(settings.Write(setting::kUseClipboardTextWindow, true));
    EXPECT_FALSE(settings.SetTrayClick(TrayButton::Left, TrayAction::MainMenu));
}

}  // namespace
}  // namespace veltrano
