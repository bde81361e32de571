// Tray click settings without the main menu are repaired at start, reported and logged.
#include <cwchar>
#include <regex>

#include "base/text_encoding.h"
#include "driver/message_boxes.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

using TraySettingsRepair = ProgramTest;

constexpr wchar_t kNoMainMenuSettings[] =
    L"[Notify]\r\nNotifyMode=1\r\n[TrayIcon]\r\nLeftClick=2\r\nRightClick=2\r\nMiddleClick=2\r\nLeftRightClick=2\r\n";
constexpr wchar_t kLogSettings[] = L"[Log]\r\nUseLog=true\r\n";
constexpr wchar_t kRepairTitle[] = L"トレイ操作設定を修正しました";
constexpr wchar_t kRepairCaption[] = L"トレイ操作設定を修正しました - Veltrano";
constexpr wchar_t kRepairBody[] =
    L"「メインメニュー表示」操作が割り当てられていなかった為、\n「右クリック」に割り当てました。";

// Waits for the repair notice of this process, checks its text and closes it with OK.
void ConfirmRepairNotice(DWORD processId) {
    const driver::WindowQuery notice{
        .className = driver::kDialogClass, .caption = kRepairCaption, .processId = processId, .visibleOnly = true};
    const HWND box = driver::WaitForWindow(notice);
    ASSERT_NE(box, nullptr) << "no repair notice appeared";
    EXPECT_EQ(Utf8(driver::MessageBoxText(box)), Utf8(kRepairBody));
    driver::PressButton(box, IDOK);
    EXPECT_TRUE(driver::WaitForNoWindow(notice)) << "the repair notice stayed after OK";
}

int ReadTrayClick(const std::wstring& settings, const wchar_t* key) {
    return static_cast<int>(::GetPrivateProfileIntW(L"TrayIcon", key, -1, settings.c_str()));
}

std::wstring DayFileName(const SYSTEMTIME& day) {
    wchar_t name[32];
    swprintf(name, std::size(name), L"%04u_%02u_%02u.txt", day.wYear, day.wMonth, day.wDay);
    return name;
}

// True when `text` holds a whole line "[hh:mm:ss.mmm][category][title]message" ending in CRLF.
bool HasLogLine(const std::wstring& text, const std::wstring& category, const std::wstring& title,
                const std::wstring& message) {
    static const std::wregex kStamp(L"\\[\\d{2}:\\d{2}:\\d{2}\\.\\d{3}");
    constexpr size_t kStampLength = 13;
    const std::wstring rest = L"][" + category + L"][" + title + L"]" + message + L"\r\n";
    for (size_t at = text.find(rest); at != std::wstring::npos; at = text.find(rest, at + 1)) {
        if (at < kStampLength) continue;
        const size_t lineStart = at - kStampLength;
        if (lineStart > 0 && text[lineStart - 1] != L'\n') continue;
        if (std::regex_match(text.begin() + lineStart, text.begin() + at, kStamp)) return true;
    }
    return false;
}

TEST_F(TraySettingsRepair, AssignsMainMenuToRightClickAndLogsIt) {
    WriteSettings(std::wstring(kNoMainMenuSettings) + kLogSettings);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ConfirmRepairNotice(ProcessId()));
    // After the exit every write of the program is finished.
    ASSERT_NO_FATAL_FAILURE(Exit());

    EXPECT_EQ(ReadTrayClick(SettingsPath(), L"RightClick"), 1);
    EXPECT_EQ(ReadTrayClick(SettingsPath(), L"LeftClick"), 2);
    EXPECT_EQ(ReadTrayClick(SettingsPath(), L"MiddleClick"), 2);
    EXPECT_EQ(ReadTrayClick(SettingsPath(), L"LeftRightClick"), 2);

    ASSERT_TRUE(driver::FolderExists(LogFolderPath()));
    std::wstring logPath;
    for (const SYSTEMTIME& day : DaysOfRun()) {
        const std::wstring candidate = LogFolderPath() + L"\\" + DayFileName(day);
        if (driver::FileExists(candidate)) logPath = candidate;
    }
    ASSERT_FALSE(logPath.empty()) << "no log file named by today's date";
    const std::string bytes = driver::ReadFileBytes(logPath);
    ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF")) << "the log file lacks its UTF-8 byte order mark";
    EXPECT_TRUE(HasLogLine(Utf8ToWide(std::string_view(bytes).substr(3)), L"Other", kRepairTitle, kRepairBody))
        << bytes;
}

TEST_F(TraySettingsRepair, WritesNoLogWithoutUseLog) {
    WriteSettings(kNoMainMenuSettings);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ConfirmRepairNotice(ProcessId()));
    ASSERT_NO_FATAL_FAILURE(Exit());

    EXPECT_EQ(ReadTrayClick(SettingsPath(), L"RightClick"), 1);
    EXPECT_FALSE(driver::FolderExists(LogFolderPath()));
}

// The settings file that the first start's notice creates holds nothing else.
TEST_F(TraySettingsRepair, DefaultsNeedNoRepairAndSaveOnlyTheFirstStartNotice) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Exit());

    wchar_t sections[64] = L"";
    ::GetPrivateProfileSectionNamesW(sections, 64, SettingsPath().c_str());
    EXPECT_EQ(Utf8(sections), "Notify");
    EXPECT_EQ(sections[std::wcslen(sections) + 1], L'\0') << "a second section was saved";
    wchar_t keys[64] = L"";
    ::GetPrivateProfileStringW(L"Notify", nullptr, L"", keys, 64, SettingsPath().c_str());
    EXPECT_EQ(Utf8(keys), "FirstStartNoticeShown");
    EXPECT_EQ(keys[std::wcslen(keys) + 1], L'\0') << "a second key was saved";
    EXPECT_FALSE(driver::FolderExists(LogFolderPath()));
}

}  // namespace
}  // namespace veltrano::e2e
