// What an organisation sets for everyone through Group Policy or Intune: policy values in the
// registry that hold over the user's own settings file.
#include <windows.h>
#define SECURITY_WIN32
#include <security.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "driver/property_sheets.h"
#include "driver/window_queries.h"
#include "program_fixture.h"
#include "version.h"

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
// the held switch greyed with the note at the page's foot, and Apply leaves the file's value. A guard
// the user may not end ignores 終了 and still closes for an installer's Restart Manager.
TEST_F(Organisation, APolicyHoldsOverTheFileAndTheSheetShowsItGreyed) {
    WriteSettings(
        L"[Notify]\r\nNotifyMode=1\r\n[Detect]\r\nDetectMyNumber=false\r\nDetectMyNumberNeedsLabel=false\r\n"
        L"[Log]\r\nUseLog=true\r\n");
    ASSERT_NO_FATAL_FAILURE(SetPolicy(HKEY_LOCAL_MACHINE, L"Detect", L"DetectMyNumber", 1));
    ASSERT_NO_FATAL_FAILURE(SetPolicy(HKEY_CURRENT_USER, L"Detect", L"DetectMyNumber", 0));
    ASSERT_NO_FATAL_FAILURE(SetPolicy(HKEY_CURRENT_USER, L"Notify", L"NotifyMode", std::wstring(L"0")));
    ASSERT_NO_FATAL_FAILURE(SetPolicy(HKEY_LOCAL_MACHINE, L"Keyword", L"EncryptKeywordFile", 1));
    ASSERT_NO_FATAL_FAILURE(SetPolicy(HKEY_LOCAL_MACHINE, L"Clipboard", L"AllowExit", 0));
    ASSERT_NO_FATAL_FAILURE(Start());
    // Sealed lists demanded where none exist yet: they start sealed, and no switch undoes that.
    EXPECT_FALSE(driver::ReadFileBytes(DataPath(L"_wildcard_keywords.bin")).empty());
    EXPECT_EQ(::GetFileAttributesW(DataPath(L"_wildcard_keywords.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    for (const wchar_t* number : {L"個人番号 123456789018", L"個人番号 234567890121"}) {
        driver::SetClipboardText(number);
        EXPECT_NE(TakeMessageBox(L"クリップボード検出 - Veltrano").find(L"検出ルール: 個人番号"), std::wstring::npos)
            << "the machine's policy switches the detector on; the file's NotifyMode=1 holds";
    }
    const std::wstring ignored =
        L"[Other][ポリシー値の無視]ポリシー値 HKEY_CURRENT_USER\\SOFTWARE\\Policies\\Veltrano\\Notify\\NotifyMode "
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

    ::SendMessageW(MainWindow(), WM_COMMAND, kExitCommand, 0);
    EXPECT_TRUE(::IsWindow(MainWindow())) << "the exit command ended it";
    EXPECT_TRUE(::SendMessageW(MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP));
    ::SendMessageW(MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_EQ(driver::WaitForExit(Process()), std::optional<DWORD>(0));
    EXPECT_TRUE(TrayTip().empty()) << "its tray icon stayed";
}

// The organisation's lists on a share: searched before the user's and named as the organisation's,
// a change picked up while the program runs, and the sealed copy in use when the share is gone.
TEST_F(Organisation, SharedListsComeFirstFollowChangesAndOutliveTheShare) {
    const std::wstring share = DataPath(L"_共有");
    ASSERT_TRUE(::CreateDirectoryW(share.c_str(), nullptr));
    driver::WriteFileBytes(share + L"\\wildcard_keywords.txt", Utf8(L"*社外秘*\n"));  // no byte order mark
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[Log]\r\nUseLog=true\r\n[Keyword]\r\nOrganizationKeywordFolder=" + share +
                  L"\r\n");
    WriteDataText(L"_wildcard_keywords.txt", L"*社外秘*\n");
    WriteDataText(L"_regex_keywords.txt", L"");
    const auto warning = [&](const std::wstring& text) {
        driver::SetClipboardText(text);
        return Utf8(TakeMessageBox(L"クリップボード検出 - Veltrano"));
    };
    const auto checkNow = [&] {  // closing the settings sheet has the share looked at again
        driver::PostCommand(MainWindow(), kSettingsCommand);
        const driver::WindowQuery sheet{
            .className = driver::kDialogClass, .caption = L"設定 - Veltrano", .processId = ProcessId(), .visibleOnly = true};
        ASSERT_NE(driver::WaitForWindow(sheet), nullptr);
        driver::ClickControl(driver::WaitForWindow(sheet), IDCANCEL);
        ASSERT_TRUE(driver::WaitForNoWindow(sheet));
    };
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Logged(L"[組織キーワードの読み込み]フォルダ: " + share + L" / ワイルドカード: 1 件 / 正規表現: 0 件"));
    EXPECT_EQ(warning(L"社外秘の資料"), Utf8(L"一致部分: 社外秘の資料\n組織ワイルドカードキーワード: *社外秘*\n設定: 大文字小文字区別"));

    driver::WriteFileBytes(share + L"\\regex_keywords.txt", Utf8(L"\uFEFF機密\\d+\n"));
    ASSERT_NO_FATAL_FAILURE(checkNow());
    ASSERT_TRUE(Logged(L"[組織キーワードの読み込み]フォルダ: " + share + L" / ワイルドカード: 1 件 / 正規表現: 1 件"));
    EXPECT_EQ(warning(L"機密42"), Utf8(L"一致部分: 機密42\n組織正規表現キーワード: 機密\\d+\n設定: 大文字小文字区別"));
    ASSERT_NO_FATAL_FAILURE(Exit());

    ASSERT_TRUE(::MoveFileW(share.c_str(), (share + L"_old").c_str()));
    ASSERT_NO_FATAL_FAILURE(Restart());
    const std::wstring failed = L"[組織キーワードの読み込みに失敗]フォルダ: " + share + L" / 理由: ";
    ASSERT_TRUE(Logged(failed));
    EXPECT_EQ(warning(L"機密7"), Utf8(L"一致部分: 機密7\n組織正規表現キーワード: 機密\\d+\n設定: 大文字小文字区別"))
        << "the sealed copy of the last good lists";
    ASSERT_NO_FATAL_FAILURE(checkNow());
    EXPECT_EQ(warning(L"社外秘"), Utf8(L"一致部分: 社外秘\n組織ワイルドカードキーワード: *社外秘*\n設定: 大文字小文字区別"));
    const std::string log = TodaysLog();
    EXPECT_EQ(log.find(Utf8(failed)), log.rfind(Utf8(failed))) << "once while the share stays gone";
}

// Wine prints a string as its debug channels do: printable ASCII as it is (a backslash or quote
// behind a backslash), other units as \xxxx.
std::string AsWineDebugString(std::wstring_view text) {
    std::string escaped;
    for (const wchar_t unit : text) {
        char hex[8];
        if (unit == L'\\' || unit == L'"') {
            escaped += '\\';
            escaped += static_cast<char>(unit);
        } else if (unit >= 0x20 && unit < 0x7F) {
            escaped += static_cast<char>(unit);
        } else {
            std::snprintf(hex, sizeof hex, "\\%04x", static_cast<unsigned>(unit));
            escaped += hex;
        }
    }
    return escaped;
}

// The source is registered and removed by an administrator's command that starts no guard; with
// UseEventLog a detection becomes event 1001 whose inserts hold no copied text, and its text comes
// from the program's own message table.
TEST_F(Organisation, DetectionsReachTheEventLogMaskedAndTheSourceIsRegisteredByCommand) {
    const auto run = [&](const wchar_t* command) {
        driver::StartedProgram started = driver::StartProgram(ProgramPath(), command, L"");
        return driver::WaitForExit(started.process.Get());
    };
    constexpr wchar_t kSourceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Veltrano";
    ASSERT_EQ(run(L"/RegisterEventSource"), std::optional<DWORD>(0));
    wchar_t messageFile[MAX_PATH] = L"";
    DWORD size = sizeof messageFile;
    DWORD type = 0;
    ASSERT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, kSourceKey, L"EventMessageFile", RRF_RT_ANY | RRF_NOEXPAND, &type,
                             messageFile, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(Utf8(messageFile), Utf8(ProgramPath()));
    DWORD types = 0;
    size = sizeof types;
    ASSERT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, kSourceKey, L"TypesSupported", RRF_RT_REG_DWORD, nullptr, &types, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(types, 7u);

    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[Log]\r\nUseLog=true\r\nUseEventLog=true\r\n"
                  L"[Detect]\r\nDetectPaymentCard=true\r\n");
    WriteDataText(L"_wildcard_keywords.txt", L"*secret*\n");
    WriteDataText(L"_regex_keywords.txt", L"");
    CaptureStandardError(L"warn+eventlog,trace+eventlog");
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(run(L"/RegisterEventSource"), std::optional<DWORD>(0)) << "not a second instance";
    for (const wchar_t* copy : {L"top secret", L"カード 4111 1111 1111 1111"}) {
        driver::SetClipboardText(copy);
        TakeMessageBox(L"クリップボード検出 - Veltrano");
    }
    // A credential leaves no character of its value in the box, the log or the event.
    driver::SetClipboardText(L"DB_PASSWORD=hunter2-Prod-42");
    EXPECT_EQ(Utf8(TakeMessageBox(L"クリップボード検出 - Veltrano")),
              Utf8(L"一致部分: DB_PASSWORD=＊＊＊＊（15文字）\n検出ルール: 認証情報: パスワード（項目 DB_PASSWORD）\n"
                   L"設定: ラベル必須"));
    ASSERT_TRUE(Logged(L"DB_PASSWORD=＊＊＊＊（15文字） / クリップボード内容: <27文字 #"));
    ASSERT_NO_FATAL_FAILURE(Exit());
    EXPECT_EQ(TodaysLog().find("hunter2"), std::string::npos);
    const std::string reported = StandardError();
    for (const std::wstring& insert :
         {std::wstring(L"ワイルドカード"), std::wstring(L"*secret*"), std::wstring(L"<10文字 #"),
          std::wstring(L"**** **** **** 1111"), std::wstring(L"支払カード番号"), UserName(),
          std::wstring(L"DB_PASSWORD=＊＊＊＊（15文字）")}) {
        EXPECT_NE(reported.find(AsWineDebugString(insert)), std::string::npos) << Utf8(insert) << "\n" << reported;
    }
    for (const wchar_t* secret : {L"top secret", L"4111 1111 1111 1111", L"hunter2"}) {
        EXPECT_EQ(reported.find(AsWineDebugString(secret)), std::string::npos) << Utf8(secret);
    }

    const HMODULE table = ::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(table, nullptr);
    const DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(L"種類"), reinterpret_cast<DWORD_PTR>(L"語"),
                                 reinterpret_cast<DWORD_PTR>(L"設定"), reinterpret_cast<DWORD_PTR>(L"<3文字 #0>"),
                                 reinterpret_cast<DWORD_PTR>(L"notepad.exe"), reinterpret_cast<DWORD_PTR>(L"taro")};
    wchar_t text[512] = L"";
    ASSERT_GT(::FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, table, 0x800003E9u,
                               MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), text, 512,
                               reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(inserts))),
              0u);
    ::FreeLibrary(table);
    EXPECT_EQ(Utf8(text), Utf8(L"クリップボードで機密情報を検出しました。\r\n種類: 種類\r\nキーワード: 語\r\n設定: 設定\r\n"
                               L"一致部分: <3文字 #0>\r\nコピー元: notepad.exe\r\nユーザー: taro\r\n"));

    ASSERT_EQ(run(L"/UnregisterEventSource"), std::optional<DWORD>(0));
    HKEY gone = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
}

// Each event as Wine's stub prints it on lines of the reporting thread: its id and count of inserts
// ("400003ef 3", told when it has no user SID), then each insert.
std::vector<std::vector<std::string>> PrintedEvents(const std::string& output) {
    constexpr std::string_view kCall = ":fixme:advapi:ReportEventW (", kInsert = ":eventlog:ReportEventW L\"";
    std::vector<std::vector<std::string>> events;
    std::map<std::string, size_t> eventOfThread;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const std::string thread = line.substr(0, line.find(':'));
        if (const size_t call = line.find(kCall); call != std::string::npos) {
            unsigned long fields[6] = {};  // handle, type, category, id, user, count
            const char* cursor = line.c_str() + call + kCall.size();
            for (unsigned long& field : fields) {
                field = std::strtoul(cursor, nullptr, 16);
                cursor = std::strchr(cursor, ',') + 1;
            }
            char head[32];
            std::snprintf(head, sizeof head, "%lx %lu%s", fields[3], fields[5], fields[4] ? "" : " without SID");
            eventOfThread[thread] = events.size();
            events.push_back({head});
        } else if (const size_t insert = line.find(kInsert); insert != std::string::npos && eventOfThread.contains(thread)) {
            const size_t text = insert + kInsert.size();
            // Wine cuts a long string short and says so after its closing quote.
            const std::string cut = line.ends_with("\"...") ? "..." : "";
            events[eventOfThread[thread]].push_back(line.substr(text, line.rfind('"') - text) + cut);
        }
    }
    return events;
}

// Whether a printed event is the wanted one, a long insert cut short where Wine cut it.
bool SameEvent(const std::vector<std::string>& printed, const std::vector<std::string>& wanted) {
    return printed.size() == wanted.size() &&
           std::equal(printed.begin(), printed.end(), wanted.begin(), [](const std::string& shown, const std::string& whole) {
               return shown == whole ||
                      (shown.ends_with("...") && whole.starts_with(std::string_view(shown).substr(0, shown.size() - 3)));
           });
}

// Each other event with its inserts in order: the copying program is empty while it is not to be
// shown, and with LogMaskSecrets a keyword is named by its list and line. An insert ending in '#' is
// a keyed tag (or a reason), compared up to there.
TEST_F(Organisation, EveryEventCarriesItsInsertsInOrderAndNoSecret) {
    const std::wstring share = DataPath(L"_共有");
    ASSERT_TRUE(::CreateDirectoryW(share.c_str(), nullptr));
    driver::WriteFileBytes(share + L"\\wildcard_keywords.txt", Utf8(L"*社外秘*\n"));
    const std::wstring moved = DataPath(L"_移転済み");
    const std::wstring settings =
        L"[Notify]\r\nNotifyMode=1\r\nClearDetectedClipboardSeconds=1\r\n[Log]\r\nUseLog=true\r\nUseEventLog=true\r\n"
        L"LogMaskSecrets=true\r\n[ClipboardReplace]\r\nInitialAutoReplaceEnable=true\r\nNotifyAfterAutoReplace=false\r\n"
        L"[Keyword]\r\nOrganizationKeywordFolder=";
    WriteSettings(settings + share + L"\r\n");
    WriteDataText(L"_wildcard_keywords.txt", L"");
    WriteDataText(L"_regex_keywords.txt", L"(a|aa)*(?=z)a\n");
    WriteDataText(L"_wildcard_replace.txt", L"[a]foo\tbar\n");
    WriteDataText(L"_regex_replace.txt", L"");
    SetPolicy(HKEY_CURRENT_USER, L"Detect", L"DetectCorporateNumber", 1);
    SetPolicy(HKEY_CURRENT_USER, L"Notify", L"NotifyMode", L"1");  // of the wrong type: not used
    CaptureStandardError(L"warn+eventlog,trace+eventlog,fixme+advapi");
    const auto printed = [](const char* id) {
        return driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return StandardError().find(id) != std::string::npos; });
    };
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(printed("0x400003ef"));
    driver::SetClipboardText(L"社外秘の資料");
    TakeMessageBox(L"クリップボード検出 - Veltrano");
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [] { return !driver::GetClipboardText(); })) << "cleared";
    driver::SetClipboardText(L"foo");
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [] {
        return driver::GetClipboardText() == std::optional<std::wstring>(L"bar");
    }));
    driver::SetClipboardText(std::wstring(2000, L'a'));
    TakeMessageBox(L"キーワード検索中断 - Veltrano");
    ASSERT_TRUE(::OpenClipboard(nullptr));  // a copy no update announces while it is held open
    ::EmptyClipboard();
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return Logged(L"クリップボード監視を再開しました"); }));
    ::CloseClipboard();
    WriteSettings(settings + moved + L"\r\n");
    driver::PostCommand(MainWindow(), kSettingsCommand);  // closing the sheet has the folder looked at
    const driver::WindowQuery sheet{
        .className = driver::kDialogClass, .caption = L"設定 - Veltrano", .processId = ProcessId(), .visibleOnly = true};
    driver::ClickControl(driver::WaitForWindow(sheet), IDCANCEL);
    ASSERT_TRUE(printed("0xc00003ee"));
    ASSERT_NO_FATAL_FAILURE(Exit());

    const auto w = AsWineDebugString;
    wchar_t qualified[512];
    ULONG size = 512;
    ASSERT_TRUE(::GetUserNameExW(NameSamCompatible, qualified, &size));
    const std::string user = w(qualified);
    const std::vector<std::vector<std::string>> expected = {
        {"400003ef 3", w(share), w(L"ワイルドカード: 1 件 / 正規表現: 0 件"), user},
        {"800003e9 6", w(L"組織ワイルドカード"), w(L"組織ワイルドカードキーワード 1行目"), w(L"大文字小文字区別"),
         w(L"<6文字 #"), "", user},
        {"400003eb 2", "", user},
        {"400003ea 4", w(L"<3文字 #"), w(L"<3文字 #"), "", user},
        {"800003ec 5", w(L"正規表現"), w(L"正規表現キーワード 1行目"), w(L"このキーワードの照合に時間が掛かりすぎます。"), "",
         user},
        {"800003ed 1", user},
        {"c00003ee 3", w(moved), "#", user},
        {"400003f1 2", w(L"ユーザーが終了しました"), user},
    };
    std::vector<std::vector<std::string>> events = PrintedEvents(StandardError());
    // Wine now and then announces a copy twice when its owner window goes right after it.
    events.erase(std::unique(events.begin(), events.end()), events.end());
    // The start and the refused value are reported beside the organisation's first read, in either order.
    const std::wstring programFolder = ProgramPath().substr(0, ProgramPath().rfind(L'\\'));
    for (const std::vector<std::string>& early :
         {std::vector<std::string>{"800003f2 3", w(L"HKEY_CURRENT_USER\\SOFTWARE\\Policies\\Veltrano\\Notify\\NotifyMode"),
                                   w(L"種類が REG_DWORD ではなく REG_SZ です"), user},
          std::vector<std::string>{"400003f0 6", w(L"" VELTRANO_VERSION), w(programFolder),
                                   w(L"支払カード番号、個人番号、法人番号、旅券番号、運転免許証番号、在留カード番号、基礎年金番号、口座番号、"
                                     L"認証情報の形式、項目名つきのパスワード"), "1", w(share), user}}) {
        const auto found = std::find_if(events.begin(), events.end(), [&](const auto& event) { return SameEvent(event, early); });
        EXPECT_NE(found, events.end()) << early[0] << "\n" << StandardError();
        if (found != events.end()) events.erase(found);
    }
    ASSERT_EQ(events.size(), expected.size()) << StandardError();
    for (size_t i = 0; i < events.size(); ++i) {
        ASSERT_EQ(events[i].size(), expected[i].size()) << i << "\n" << StandardError();
        for (size_t j = 0; j < events[i].size(); ++j) {
            const std::string& want = expected[i][j];
            const bool keyed = want.ends_with('#');  // compared up to there
            EXPECT_EQ(keyed ? events[i][j].substr(0, want.size() - 1) + "#" : events[i][j], want) << i << "/" << j;
        }
    }
}

}  // namespace
}  // namespace veltrano::e2e
