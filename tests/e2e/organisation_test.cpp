// What an organisation sets for everyone through Group Policy or Intune: policy values in the
// registry that hold over the user's own settings file.
#include <windows.h>

#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/property_sheets.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr WORD kSettingsCommand = 40004;
constexpr int kProtectPage = 6;
constexpr int kMyNumberSwitch = 9020;
constexpr int kMyNumberLabelSwitch = 9021;
constexpr int kPolicyNote = 9900;

class Organisation : public ProgramTest {
protected:
    // Each test has a Wine prefix of its own: nothing here outlives it.
    static void SetPolicy(HKEY hive, const wchar_t* section, const wchar_t* key, DWORD type, const void* data,
                          DWORD size) {
        const std::wstring subkey = std::wstring(L"SOFTWARE\\Policies\\Veltrano\\") + section;
        ASSERT_EQ(::RegSetKeyValueW(hive, subkey.c_str(), key, type, data, size), ERROR_SUCCESS) << Utf8(subkey);
    }
    static void SetPolicy(HKEY hive, const wchar_t* section, const wchar_t* key, DWORD value) {
        SetPolicy(hive, section, key, REG_DWORD, &value, sizeof value);
    }
    static void SetPolicy(HKEY hive, const wchar_t* section, const wchar_t* key, const std::wstring& text) {
        SetPolicy(hive, section, key, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring Stored(const wchar_t* section, const wchar_t* key) const {
        wchar_t value[256] = L"";
        ::GetPrivateProfileStringW(section, key, L"(missing)", value, 256, SettingsPath().c_str());
        return value;
    }
};

// The machine's policy switches a detector on that the user's file has off and wins over the
// user's policy; a user policy of the wrong type is ignored once with a log line; the sheet shows
// the held switch greyed with the note at the page's foot, and Apply leaves the file's value.
TEST_F(Organisation, APolicyHoldsOverTheFileAndTheSheetShowsItGreyed) {
    WriteSettings(
        L"[Notify]\r\nNotifyMode=1\r\n[Detect]\r\nDetectMyNumber=false\r\nDetectMyNumberNeedsLabel=false\r\n"
        L"[Log]\r\nUseLog=true\r\n");
    ASSERT_NO_FATAL_FAILURE(SetPolicy(HKEY_LOCAL_MACHINE, L"Detect", L"DetectMyNumber", 1));
    ASSERT_NO_FATAL_FAILURE(SetPolicy(HKEY_CURRENT_USER, L"Detect", L"DetectMyNumber", 0));
    ASSERT_NO_FATAL_FAILURE(SetPolicy(HKEY_CURRENT_USER, L"Notify", L"NotifyMode", std::wstring(L"0")));
    ASSERT_NO_FATAL_FAILURE(Start());

    for (const wchar_t* number : {L"個人番号 123456789018", L"個人番号 234567890121"}) {
        driver::SetClipboardText(number);
        EXPECT_NE(TakeMessageBox(L"クリップボード検出 - Veltrano").find(L"検出ルール: 個人番号"), std::wstring::npos)
            << "the machine's policy switches the detector on; the file's NotifyMode=1 holds";
    }
    const std::wstring ignored =
        L"[Other][ポリシー値の無視]ポリシー値 HKEY_CURRENT_USER\\SOFTWARE\\Policies\\Veltrano\\Notify の NotifyMode "
        L"を使いません。理由：種類が REG_DWORD ではなく REG_SZ です\r\n";
    ASSERT_TRUE(Logged(ignored));
    const std::string log = TodaysLog();
    EXPECT_EQ(log.find(Utf8(ignored)), log.rfind(Utf8(ignored))) << "once per session, though read at every copy";

    driver::PostCommand(MainWindow(), kSettingsCommand);
    const HWND sheet = driver::WaitForWindow(
        {.className = driver::kDialogClass, .caption = L"設定 - Veltrano", .processId = ProcessId(), .visibleOnly = true});
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kProtectPage);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(driver::IsTicked(page, kMyNumberSwitch));
    EXPECT_FALSE(driver::IsControlEnabled(page, kMyNumberSwitch));
    EXPECT_TRUE(driver::IsControlEnabled(page, kMyNumberLabelSwitch)) << "its label rule is the user's";
    EXPECT_EQ(Utf8(driver::TextOf(::GetDlgItem(page, kPolicyNote))), Utf8(L"一部の設定は組織のポリシーで管理されています。"));

    driver::ClickControl(page, kMyNumberLabelSwitch);
    driver::ClickControl(sheet, IDOK);
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs,
                                  [&] { return Stored(L"Detect", L"DetectMyNumberNeedsLabel") == L"true"; }));
    EXPECT_EQ(Utf8(Stored(L"Detect", L"DetectMyNumber")), "false") << "a held key is never written";
}

}  // namespace
}  // namespace veltrano::e2e
