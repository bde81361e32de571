// The tray commands that switch the keyword and replacement-definition files between text and encrypted form.

#include "driver/clipboard_access.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr WORD kEncryptKeywordFileCommand = 40005;
constexpr WORD kEncryptReplaceFileCommand = 40006;
constexpr wchar_t kDetectionCaption[] = L"クリップボード検出 - Veltrano";
constexpr wchar_t kSettingChangedCaption[] = L"設定変更 - Veltrano";

class EncryptFileCommands : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n");
        WriteDataText(L"_wildcard_keywords.txt", L"secret*\n");
        WriteDataText(L"_regex_keywords.txt", L"\\d{4}\n");
    }
    std::wstring EncryptKeywordFileSetting() const {
        wchar_t value[16] = {};
        ::GetPrivateProfileStringW(L"Keyword", L"EncryptKeywordFile", L"", value, 16, SettingsPath().c_str());
        return value;
    }
    void ToggleEncryption() const { driver::PostCommand(MainWindow(), kEncryptKeywordFileCommand); }
};

TEST_F(EncryptFileCommands, SwitchesToEncryptedAndBackKeepingTheKeywords) {
    ASSERT_NO_FATAL_FAILURE(Start());

    ToggleEncryption();
    EXPECT_EQ(Utf8(TakeMessageBox(kSettingChangedCaption)), Utf8(L"キーワードファイル暗号化：有効"));
    EXPECT_EQ(EncryptKeywordFileSetting(), L"true");
    for (const wchar_t* stem : {L"_wildcard_keywords", L"_regex_keywords"}) {
        EXPECT_FALSE(driver::FileExists(DataPath(std::wstring(stem) + L".txt")));
        EXPECT_EQ(driver::ReadFileBytes(DataPath(std::wstring(stem) + L".bin")).find("secret"), std::string::npos);
    }
    // The lists were reloaded from the encrypted files.
    driver::SetClipboardText(L"the secret plan");
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)),
              Utf8(L"一致部分: secret plan\nワイルドカードキーワード: secret*\n設定: 大文字小文字区別"));

    ToggleEncryption();
    EXPECT_EQ(Utf8(TakeMessageBox(kSettingChangedCaption)), Utf8(L"キーワードファイル暗号化：無効"));
    EXPECT_EQ(EncryptKeywordFileSetting(), L"false");
    EXPECT_EQ(driver::ReadFileBytes(DataPath(L"_wildcard_keywords.txt")), "\xEF\xBB\xBFsecret*\n");
    EXPECT_EQ(driver::ReadFileBytes(DataPath(L"_regex_keywords.txt")), "\xEF\xBB\xBF\\d{4}\n");
    EXPECT_FALSE(driver::FileExists(DataPath(L"_wildcard_keywords.bin")));

    driver::SetClipboardText(L"pin 1234");
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)),
              Utf8(L"一致部分: 1234\n正規表現キーワード: \\d{4}\n設定: 大文字小文字区別"));
}

TEST_F(EncryptFileCommands, SameNameFileIsReplacedOnlyWhenTheUserSaysYes) {
    const std::string stale = "stale, not a real sealed file";
    driver::WriteFileBytes(DataPath(L"_regex_keywords.bin"), stale);
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::wstring question = L"同名ファイル削除の確認 - Veltrano";
    const std::wstring refusal = L"変換後ファイルと同名のファイルが存在する為、キーワードファイルを変換出来ません。";

    ToggleEncryption();
    EXPECT_EQ(Utf8(TakeMessageBox(question, IDNO)),
              Utf8(refusal + L"\n変換後ファイルと同名のファイルを削除してよろしいですか？"));
    // Switching back decrypts only the wildcard list; the stale file is not asked about again.
    EXPECT_EQ(Utf8(TakeMessageBox(L"エラー - Veltrano")),
              Utf8(L"次の理由でキーワードファイルの暗号化に失敗しました。\n\n理由：" + refusal + L": " +
                   DataPath(L"_regex_keywords.bin")));
    EXPECT_EQ(EncryptKeywordFileSetting(), L"false");
    EXPECT_EQ(driver::ReadFileBytes(DataPath(L"_regex_keywords.bin")), stale);
    EXPECT_EQ(driver::ReadFileBytes(DataPath(L"_wildcard_keywords.txt")), "\xEF\xBB\xBFsecret*\n");

    ToggleEncryption();
    TakeMessageBox(question, IDYES);
    EXPECT_EQ(Utf8(TakeMessageBox(kSettingChangedCaption)), Utf8(L"キーワードファイル暗号化：有効"));
    EXPECT_NE(driver::ReadFileBytes(DataPath(L"_regex_keywords.bin")), stale);
    EXPECT_FALSE(driver::FileExists(DataPath(L"_regex_keywords.txt")));
}

TEST_F(EncryptFileCommands, ReplacementFilesSwitchTheSameWay) {
    WriteDataText(L"_wildcard_replace.txt", L"secret\tX\n");
    WriteDataText(L"_regex_replace.txt", L"\\d+\tN\n");
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::PostCommand(MainWindow(), kEncryptReplaceFileCommand);
    EXPECT_EQ(Utf8(TakeMessageBox(kSettingChangedCaption)), Utf8(L"置換定義ファイル暗号化：有効"));
    for (const wchar_t* stem : {L"_wildcard_replace", L"_regex_replace"}) {
        EXPECT_FALSE(driver::FileExists(DataPath(std::wstring(stem) + L".txt")));
        EXPECT_TRUE(driver::FileExists(DataPath(std::wstring(stem) + L".bin")));
    }
    EXPECT_EQ(EncryptKeywordFileSetting(), L"") << "the keyword files are not touched";

    driver::PostCommand(MainWindow(), kEncryptReplaceFileCommand);
    EXPECT_EQ(Utf8(TakeMessageBox(kSettingChangedCaption)), Utf8(L"置換定義ファイル暗号化：無効"));
    EXPECT_EQ(driver::ReadFileBytes(DataPath(L"_regex_replace.txt")), "\xEF\xBB\xBF\\d+\tN\n");
    EXPECT_FALSE(driver::FileExists(DataPath(L"_wildcard_replace.bin")));
}

}  // namespace
}  // namespace veltrano::e2e
