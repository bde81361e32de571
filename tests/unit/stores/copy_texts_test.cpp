#include "stores/copy_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "base/text_encoding.h"
#include "storage/atomic_file.h"
#include "storage/file_system.h"
#include "storage/text_files.h"
#include "support/fake_clipboard.h"
#include "support/program_data.h"
#include "support/raw_files.h"
#include "support/recording_notifier.h"

namespace veltrano {
namespace {

const std::string kBom = "\xEF\xBB\xBF";
constexpr size_t kMenuItems = 3000;

class CopyTextsTest : public ::testing::Test, protected test::ProgramData {
protected:
    CopyTextsTest() { EXPECT_TRUE(settings.Ini().WriteBool(section::kLog, L"UseLog", true)); }

    std::wstring Folder() const { return folder / L"taro_copy"; }
    std::wstring PathOf(const std::wstring& name) const { return Folder() + L"\\" + name; }

    // A text file as the user saves it: UTF-8 with its byte order mark.
    void Edit(const std::wstring& name, const std::string& utf8) {
        ASSERT_TRUE(CreateFolders(Folder()));
        test::WriteBytes(PathOf(name), kBom + utf8);
    }
    void Seal(const std::wstring& name, const std::wstring& text) {
        ASSERT_TRUE(CreateFolders(Folder()));
        WriteEncryptedFile(PathOf(name), WideToUtf8(text));
    }
    std::wstring Unseal(const std::wstring& name) const { return Utf8ToWide(ReadEncryptedFile(PathOf(name))); }
    bool Exists(const std::wstring& name) const { return std::filesystem::exists(PathOf(name)); }

    std::vector<std::wstring> NamesOnDisk() const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder()))
            names.push_back(entry.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::wstring LogText() const {
        const std::string bytes = test::ReadBytes(log.LogFilePath());
        return bytes.size() < kBom.size() ? L"" : Utf8ToWide(std::string_view(bytes).substr(kBom.size()));
    }
    std::wstring Line(const std::wstring& title, const std::wstring& message) const {
        return FormatLogLine(LogCategory::ClipboardFavorites, clock.now, title, message);
    }
    // A line whose message goes on with text the test cannot know exactly.
    std::wstring LineStart(const std::wstring& title, const std::wstring& messageStart) const {
        const std::wstring line = Line(title, messageStart);
        return line.substr(0, line.size() - 2);
    }
    bool Logged(const std::wstring& title, const std::wstring& message) const {
        return LogText().find(Line(title, message)) != std::wstring::npos;
    }
    std::wstring SuccessLine(size_t count) const {
        return Line(L"コピーテキスト登録ファイルの暗号化＆読み込み等、初期化処理に成功",
                    L"読み込み成功件数は「" + std::to_wstring(count) +
                        L"」です。読み込みに成功したファイルは、これより前のログの通りです。");
    }
    std::wstring FailureLine() const {
        return Line(L"コピーテキスト登録ファイルの暗号化＆読み込み等、初期化処理に失敗",
                    L"詳細は、これより前のログの通りです。");
    }
    std::wstring LoadedLine(const std::wstring& name) const {
        return Line(L"暗号ファイルの読み込みに成功", L"file=" + PathOf(name));
    }

    std::vector<std::wstring> Keys() const {
        std::vector<std::wstring> keys;
        for (const CopyTextEntry& entry : copyTexts.Entries()) keys.push_back(entry.key);
        return keys;
    }

    test::RecordingNotifier notifier;
    test::FakeClipboard clipboard;
    CopyTexts copyTexts{paths, notifier, log, clipboard};
};

std::vector<std::wstring> PlaceholderNames() {
    std::vector<std::wstring> names;
    for (const wchar_t stem : std::wstring_view(L"1234567890abcdefghijklmnopqrstuvwxyz"))
        names.push_back(std::wstring(1, stem) + L".txt");
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CopyTextKeyRank, DigitsOneToNineThenZeroThenLettersOfEitherCase) {
    EXPECT_EQ(CopyTextKeyRank(L"1"), 0);
    EXPECT_EQ(CopyTextKeyRank(L"9"), 8);
    EXPECT_EQ(CopyTextKeyRank(L"0"), 9);
    EXPECT_EQ(CopyTextKeyRank(L"a"), 10);
    EXPECT_EQ(CopyTextKeyRank(L"A"), 10);
    EXPECT_EQ(CopyTextKeyRank(L"z"), 35);
    EXPECT_EQ(CopyTextKeyRank(L"Z"), 35);
    for (const wchar_t* other : {L"", L"ab", L"10", L"-", L"Ａ", L"あ"}) EXPECT_EQ(CopyTextKeyRank(other), 1000) << other;
}

TEST(BuildCopyTextMenu, GreyedItemWhenEmptyElseLabelsWithLowerCaseAccelerators) {
    EXPECT_EQ(BuildCopyTextMenu({}, kMenuItems), (MenuEntries{{L"―― 登録無し ――", std::nullopt}}));
    const std::vector<CopyTextEntry> entries = {
        {L"R&D\tdept", L"x", L"1"},
        {L"upper", L"x", L"Q"},
        {L"long key", L"x", L"memo"},
        {L"line\r\nbreak", L"x", L"-"},
    };
    EXPECT_EQ(BuildCopyTextMenu(entries, kMenuItems), (MenuEntries{{L"R&&D    dept\t(&1)", 0},
                                                       {L"upper\t(&q)", 1},
                                                       {L"long key", 2},
                                                       {L"line break", 3}}));
}

TEST(BuildCopyTextMenu, ShowsAtMostTheFirstMaxItems) {
    const std::vector<CopyTextEntry> entries(3001, CopyTextEntry{L"t", L"x", L"k"});
    const MenuEntries menu = BuildCopyTextMenu(entries, kMenuItems);
    ASSERT_EQ(menu.size(), 3000u);
    EXPECT_EQ(menu.back().index, 2999u);
}

TEST_F(CopyTextsTest, FirstRunMakesTheFolderAndEmptyPlaceholdersAndLoadsNothing) {
    EXPECT_EQ(copyTexts.FolderPath(), Folder());
    ASSERT_FALSE(std::filesystem::exists(Folder()));

    EXPECT_TRUE(copyTexts.EncryptAndReload());

    ASSERT_EQ(NamesOnDisk(), PlaceholderNames());
    for (const std::wstring& name : NamesOnDisk()) EXPECT_EQ(test::ReadBytes(PathOf(name)), kBom) << name;
    EXPECT_TRUE(copyTexts.Entries().empty());
    EXPECT_EQ(copyTexts.BuildMenu(kMenuItems), (MenuEntries{{L"―― 登録無し ――", std::nullopt}}));
    EXPECT_EQ(LogText(), SuccessLine(0)) << "empty placeholders are left alone";
    EXPECT_TRUE(notifier.notifications.empty()) << "the start-up run tells the user nothing";
}

TEST_F(CopyTextsTest, AnEditedTextIsSealedItsTextFileDeletedAndItsPlaceholderBackOnlyNextRun) {
    ASSERT_TRUE(copyTexts.EncryptAndReload());
    Edit(L"a.txt", WideToUtf8(L"口座 1234-567"));

    EXPECT_TRUE(copyTexts.EncryptAndReload());

    EXPECT_EQ(Unseal(L"a.bin"), L"口座 1234-567");
    EXPECT_EQ(test::ReadBytes(PathOf(L"a.bin")).find(WideToUtf8(L"口座")), std::string::npos) << "sealed, not plain";
    EXPECT_FALSE(Exists(L"a.txt")) << "placeholders come before sealing, so not in the same run";
    EXPECT_EQ(copyTexts.Entries(), (std::vector<CopyTextEntry>{{L"口座 1234-567", PathOf(L"a.bin"), L"a"}}));
    EXPECT_EQ(copyTexts.BuildMenu(kMenuItems), (MenuEntries{{L"口座 1234-567\t(&a)", 0}}));
    EXPECT_TRUE(Logged(L"暗号ファイルの読み込みに成功", L"file=" + PathOf(L"a.bin")));
    EXPECT_TRUE(LogText().ends_with(SuccessLine(1)));

    EXPECT_TRUE(copyTexts.EncryptAndReload());
    EXPECT_EQ(test::ReadBytes(PathOf(L"a.txt")), kBom);
    EXPECT_EQ(copyTexts.Entries().size(), 1u) << "the fresh empty placeholder replaces nothing";
    EXPECT_EQ(Unseal(L"a.bin"), L"口座 1234-567");
}

TEST_F(CopyTextsTest, EditingAgainReplacesTheSealedTextAndLeavesNoBackup) {
    Seal(L"a.bin", L"old");
    Edit(L"a.txt", "new");

    EXPECT_TRUE(copyTexts.EncryptAndReload());

    EXPECT_EQ(Unseal(L"a.bin"), L"new");
    EXPECT_FALSE(Exists(L"a.bin.bak"));
    EXPECT_FALSE(Exists(L"a.txt"));
    ASSERT_EQ(copyTexts.Entries().size(), 1u);
    EXPECT_EQ(copyTexts.Entries()[0].text, L"new");
}

TEST_F(CopyTextsTest, OrderIsDigitsThenZeroThenLettersThenLongerKeysByCodeUnit) {
    // Written before the first run: the folder ignores case, so "A.txt" takes the place of "a.txt".
    for (const wchar_t* stem : {L"xy", L"b", L"1", L"memo", L"0", L"A"}) {
        Edit(std::wstring(stem) + L".txt", "text " + WideToUtf8(stem));
    }

    EXPECT_TRUE(copyTexts.EncryptAndReload());

    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"1", L"0", L"A", L"b", L"memo", L"xy"}));
    EXPECT_EQ(copyTexts.BuildMenu(kMenuItems), (MenuEntries{{L"text 1\t(&1)", 0},
                                                  {L"text 0\t(&0)", 1},
                                                  {L"text A\t(&a)", 2},
                                                  {L"text b\t(&b)", 3},
                                                  {L"text memo", 4},
                                                  {L"text xy", 5}}));
    EXPECT_EQ(copyTexts.Entries()[4].filePath, PathOf(L"memo.bin"));
    EXPECT_FALSE(Exists(L"memo.txt")) << "only the 36 one-character names get placeholders";
    EXPECT_TRUE(LogText().ends_with(SuccessLine(6)));
}

TEST_F(CopyTextsTest, AFailedSealedWriteKeepsTheOldSealedFileAndTheEdit) {
    // The real write fails: every temporary name it could take is in use.
    const std::wstring stem = L"k";
    const std::wstring bin = stem + L".bin";
    Seal(bin, L"old");
    Edit(stem + L".txt", "new");
    for (unsigned attempt = 0; attempt < kTemporaryNameAttempts; ++attempt)
        test::WriteBytes(TemporaryPathBeside(PathOf(bin), attempt), "");

    EXPECT_FALSE(copyTexts.EncryptAndReload());

    EXPECT_EQ(Unseal(bin), L"old");
    EXPECT_EQ(test::ReadBytes(PathOf(stem + L".txt")), kBom + "new");
    EXPECT_FALSE(Exists(bin + L".bak"));
    EXPECT_TRUE(Logged(L"テキストファイル内容の暗号ファイルへの書き込みに失敗",
                       L"file=" + PathOf(bin) + L", error=Failed to open file for writing: " + PathOf(bin)));
    EXPECT_EQ(LogText().find(L"テキストファイルの暗号ファイル変換に失敗"), std::wstring::npos)
        << "the replace left the old file whole";
    EXPECT_EQ(copyTexts.Entries(), (std::vector<CopyTextEntry>{{L"old", PathOf(bin), stem}}));
    EXPECT_TRUE(LogText().ends_with(LoadedLine(bin) + FailureLine()));
}

// Sealing takes no backup, so whatever holds the name an older version backed up to stays as it is.
TEST_F(CopyTextsTest, SealingLeavesAnythingAtTheOldBackupNameAlone) {
    Seal(L"a.bin", L"old");
    Edit(L"a.txt", "new");
    ASSERT_TRUE(CreateFolders(PathOf(L"a.bin.bak")));
    test::WriteBytes(PathOf(L"a.bin.bak\\keep"), "x");

    EXPECT_TRUE(copyTexts.EncryptAndReload());

    EXPECT_EQ(Unseal(L"a.bin"), L"new");
    EXPECT_FALSE(Exists(L"a.txt"));
    EXPECT_EQ(test::ReadBytes(PathOf(L"a.bin.bak\\keep")), "x");
    EXPECT_TRUE(LogText().ends_with(SuccessLine(1)));
}

TEST_F(CopyTextsTest, InvalidUtf8IsSealedUnexaminedThenFailsToLoadAndStaysSealed) {
    const std::string invalid = "\xFF\xFE broken \xC3";
    Edit(L"a.txt", invalid);
    std::wstring conversionError;
    try {
        Utf8ToWide(invalid);
    } catch (const std::runtime_error& error) {
        conversionError = Utf8ToWide(error.what());
    }
    ASSERT_FALSE(conversionError.empty());

    EXPECT_FALSE(copyTexts.EncryptAndReload());

    EXPECT_EQ(ReadEncryptedFile(PathOf(L"a.bin")), invalid);
    EXPECT_FALSE(Exists(L"a.txt"));
    EXPECT_TRUE(copyTexts.Entries().empty());
    EXPECT_TRUE(LogText().ends_with(
        Line(L"UTF-8 から UTF-16 への変換に失敗", L"file=" + PathOf(L"a.bin") + L", error=" + conversionError) +
        FailureLine()));

    EXPECT_FALSE(copyTexts.EncryptAndReload()) << "the sealed file stays until the user decrypts it";
    EXPECT_TRUE(Exists(L"a.bin"));
}

TEST_F(CopyTextsTest, UnreadableSealedFileIsLoggedSkippedAndKept) {
    Seal(L"a.bin", L"good");
    ASSERT_TRUE(CreateFolders(Folder()));
    test::WriteBytes(PathOf(L"b.bin"), "not a sealed blob");

    EXPECT_FALSE(copyTexts.EncryptAndReload());

    EXPECT_EQ(Keys(), std::vector<std::wstring>{L"a"});
    EXPECT_TRUE(Logged(L"暗号ファイルの読み込みに失敗",
                       L"file=" + PathOf(L"b.bin") + L", error=CryptUnprotectData failed"));
    EXPECT_TRUE(Exists(L"b.bin"));
}

TEST_F(CopyTextsTest, AFileWhereTheFolderBelongsFailsAtOnceAndEmptiesTheList) {
    Seal(L"a.bin", L"loaded");
    ASSERT_TRUE(copyTexts.EncryptAndReload());
    ASSERT_EQ(copyTexts.Entries().size(), 1u);
    std::filesystem::remove_all(Folder());
    test::WriteBytes(Folder(), "a file, not a folder");

    std::wstring errorText = L"stale";
    EXPECT_FALSE(copyTexts.EnsureFolder(errorText));
    EXPECT_EQ(errorText, L"");
    EXPECT_FALSE(copyTexts.EncryptAndReload());

    EXPECT_TRUE(copyTexts.Entries().empty());
    EXPECT_TRUE(LogText().ends_with(Line(L"コピーテキスト登録ファイルの暗号化＆読み込み等、初期化処理に失敗",
                                         L"コピーテキスト登録フォルダの作成に失敗：")));
}

TEST_F(CopyTextsTest, WithoutAUserPrefixThereIsNoFolder) {
    const DataPaths noUser{folder.Path(), L""};
    CopyTexts orphan{noUser, notifier, log, clipboard};
    std::wstring errorText;
    EXPECT_EQ(orphan.FolderPath(), L"");
    EXPECT_FALSE(orphan.EnsureFolder(errorText));
    EXPECT_FALSE(orphan.CreatePlaceholders());

    orphan.Decrypt();

    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"復号失敗");
    EXPECT_EQ(notifier.notifications[0].body, L"コピー文字列登録フォルダの取得に失敗しました。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_EQ(LogText(), Line(L"復号コマンドの失敗", L"コピー文字列登録フォルダの取得に失敗しました。"));
}

TEST_F(CopyTextsTest, PlaceholdersNeverOverwriteAnExistingFile) {
    Edit(L"q.txt", "keep me");

    EXPECT_TRUE(copyTexts.CreatePlaceholders());

    EXPECT_EQ(test::ReadBytes(PathOf(L"q.txt")), kBom + "keep me");
    EXPECT_EQ(NamesOnDisk(), PlaceholderNames());
}

TEST_F(CopyTextsTest, TheCommandReportsSuccessAndFailure) {
    copyTexts.EncryptAndReloadCommand();
    test::WriteBytes(PathOf(L"b.bin"), "damaged");
    copyTexts.EncryptAndReloadCommand();

    ASSERT_EQ(notifier.notifications.size(), 2u);
    EXPECT_EQ(notifier.notifications[0].title, L"成功");
    EXPECT_EQ(notifier.notifications[0].body, L"全てのコピーテキスト登録ファイルの暗号化＆再読み込みに成功しました。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Info);
    EXPECT_EQ(notifier.notifications[1].title, L"失敗");
    EXPECT_EQ(notifier.notifications[1].body,
              L"コピーテキスト登録ファイルの暗号化＆再読み込みに失敗しました。\n詳細はログを確認して下さい。");
    EXPECT_EQ(notifier.notifications[1].kind, NotifyKind::Error);
}

TEST_F(CopyTextsTest, DecryptTurnsEverySealedFileBackIntoTextAndLeavesTheListAlone) {
    Seal(L"a.bin", L"一");
    Seal(L"memo.bin", L"二");
    ASSERT_TRUE(copyTexts.EncryptAndReload());
    const std::vector<CopyTextEntry> loaded = copyTexts.Entries();

    copyTexts.Decrypt();

    EXPECT_EQ(test::ReadBytes(PathOf(L"a.txt")), kBom + WideToUtf8(L"一"));
    EXPECT_EQ(test::ReadBytes(PathOf(L"memo.txt")), kBom + WideToUtf8(L"二"));
    EXPECT_FALSE(Exists(L"a.bin"));
    EXPECT_FALSE(Exists(L"memo.bin"));
    EXPECT_EQ(copyTexts.Entries(), loaded);
    for (const wchar_t* stem : {L"a", L"memo"}) {
        EXPECT_TRUE(Logged(L"復号コマンド中の復号成功ファイル", L"暗号ファイル復号成功：src=" + PathOf(stem + std::wstring(L".bin")) +
                                                                  L", dst=" + PathOf(stem + std::wstring(L".txt"))));
    }
    EXPECT_TRUE(LogText().ends_with(Line(L"復号コマンドの成功",
                                         L"全ての暗号ファイルの復号に成功しました。復号成功件数は「2」です。"
                                         L"復号成功ファイルはこれより前の「復号コマンド中の復号成功ファイル」の通りです。")));
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"復号成功");
    EXPECT_EQ(notifier.notifications[0].body, L"全ての暗号ファイルの復号に成功しました。復号成功件数=2");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Info);
}

TEST_F(CopyTextsTest, DecryptWithNothingSealedSaysSo) {
    ASSERT_TRUE(copyTexts.EncryptAndReload());

    copyTexts.Decrypt();

    const std::wstring message = L"復号対象の暗号ファイル（.bin）が存在しません。";
    EXPECT_TRUE(LogText().ends_with(Line(L"復号コマンドの結果", message)));
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"復号対象ファイル無し");
    EXPECT_EQ(notifier.notifications[0].body, message);
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Info);
}

TEST_F(CopyTextsTest, DecryptWithADamagedFileDoesTheRestAndWarns) {
    Seal(L"a.bin", L"good");
    test::WriteBytes(PathOf(L"b.bin"), "damaged");

    copyTexts.Decrypt();

    EXPECT_EQ(test::ReadBytes(PathOf(L"a.txt")), kBom + "good");
    EXPECT_FALSE(Exists(L"a.bin"));
    EXPECT_TRUE(Exists(L"b.bin"));
    EXPECT_FALSE(Exists(L"b.txt"));
    EXPECT_TRUE(Logged(L"復号コマンド中のエラー",
                       L"暗号ファイルの復号に失敗：file=" + PathOf(L"b.bin") + L", error=CryptUnprotectData failed"));
    EXPECT_TRUE(LogText().ends_with(Line(
        L"復号コマンドの一部失敗", L"一部の暗号ファイルの復号に失敗しました。詳細はこれより前の「復号コマンド中のエラー」の通りです。")));
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"復号一部失敗");
    EXPECT_EQ(notifier.notifications[0].body, L"一部の暗号ファイルの復号に失敗しました。\n詳細はログを確認してください。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Warning);
}

TEST_F(CopyTextsTest, DecryptWithoutAFolderReportsTheDirectoryFailure) {
    copyTexts.Decrypt();

    EXPECT_TRUE(LogText().starts_with(LineStart(L"復号コマンドの失敗", L"復号処理中にディレクトリアクセス失敗：list: ")))
        << LogText();
    EXPECT_TRUE(LogText().ends_with(L": " + Folder() + L"\r\n")) << "the system's text names the folder";
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"復号失敗");
    EXPECT_EQ(notifier.notifications[0].body, L"復号処理中にエラーが発生しました。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_FALSE(std::filesystem::exists(Folder()));
}

TEST_F(CopyTextsTest, ChoosingPutsTheEntrysTextOnTheClipboardAndReportsAFailedWrite) {
    Seal(L"1.bin", L"first");
    Seal(L"2.bin", L"second");
    ASSERT_TRUE(copyTexts.EncryptAndReload());
    const std::wstring logBefore = LogText();
    const HWND owner = reinterpret_cast<HWND>(0x1234);

    copyTexts.Choose(owner, 1);
    for (const size_t outside : {2u, 2999u, 3000u}) copyTexts.Choose(owner, outside);

    EXPECT_EQ(clipboard.attempts, std::vector<std::wstring>{L"second"});
    EXPECT_EQ(clipboard.writeOwners, std::vector<HWND>{owner});
    EXPECT_TRUE(notifier.notifications.empty());

    clipboard.succeed = false;
    copyTexts.Choose(owner, 0);

    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"エラー");
    EXPECT_EQ(notifier.notifications[0].body, L"クリップボードの更新に失敗しました。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_EQ(LogText(), logBefore) << "choosing logs nothing";
}

}  // namespace
}  // namespace veltrano
