#include "storage/list_file_encryption.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "storage/text_files.h"
#include "support/keyword_files.h"
#include "support/raw_files.h"

namespace veltrano {
namespace {

// The keyword family is the real one; the replacement family differs only in its texts and files.
class ListFileEncryptionTest : public test::KeywordFilesTest {
protected:
    bool Exists(KeywordKind kind, bool encrypted) const { return std::filesystem::exists(FileOf(kind, encrypted)); }
    void WritePlainFiles() {
        WriteUtf8TextFile(FileOf(KeywordKind::Wildcard, false), "secret*");
        WriteUtf8TextFile(FileOf(KeywordKind::Regex, false), "\\d{4}");
    }
};

TEST_F(ListFileEncryptionTest, CurrentValueChangesNothing) {
    WritePlainFiles();
    encryption.Set(false);
    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_FALSE(std::filesystem::exists(paths.SettingsFile()));
    EXPECT_TRUE(Exists(KeywordKind::Wildcard, false));
}

TEST_F(ListFileEncryptionTest, EncryptsBothFilesReloadsAndTellsTheUser) {
    WritePlainFiles();
    encryption.Set(true);

    EXPECT_TRUE(settings.EncryptKeywordFile());
    EXPECT_FALSE(Exists(KeywordKind::Wildcard, false));
    EXPECT_FALSE(Exists(KeywordKind::Regex, false));
    EXPECT_EQ(ReadEncryptedFile(FileOf(KeywordKind::Wildcard, true)), "secret*");
    EXPECT_EQ(ReadEncryptedFile(FileOf(KeywordKind::Regex, true)), "\\d{4}");
    ASSERT_EQ(lists.List(KeywordKind::Regex).size(), 1u);
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"設定変更");
    EXPECT_EQ(notifier.notifications[0].body, L"キーワードファイル暗号化：有効");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Info);

    encryption.Set(false);
    EXPECT_FALSE(settings.EncryptKeywordFile());
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Wildcard, false)), "secret*");
    EXPECT_FALSE(Exists(KeywordKind::Regex, true));
    ASSERT_EQ(notifier.notifications.size(), 2u);
    EXPECT_EQ(notifier.notifications[1].body, L"キーワードファイル暗号化：無効");
    EXPECT_EQ(notifier.notifications[1].kind, NotifyKind::Warning);
}

TEST_F(ListFileEncryptionTest, DecryptingOverAnOldTextFileAsksAndReplacesItOnYes) {
    WritePlainFiles();
    encryption.Set(true);
    WriteUtf8TextFile(FileOf(KeywordKind::Wildcard, false), "stale");
    question.answer = true;

    encryption.Set(false);
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Wildcard, false)), "secret*");
    EXPECT_FALSE(Exists(KeywordKind::Wildcard, true));
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0],
              L"同名ファイル削除の確認 - Veltrano|変換後ファイルと同名のファイルが存在する為、キーワードファイルを変換出来ません。"
              L"\n変換後ファイルと同名のファイルを削除してよろしいですか？");
}

TEST_F(ListFileEncryptionTest, DecliningDuringEncryptionRollsBackOnlyWhatWasEncrypted) {
    WritePlainFiles();
    WriteEncryptedFile(FileOf(KeywordKind::Regex, true), "stale secret");

    encryption.Set(true);

    EXPECT_FALSE(settings.EncryptKeywordFile());
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Wildcard, false)), "secret*");
    EXPECT_FALSE(Exists(KeywordKind::Wildcard, true));
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Regex, false)), "\\d{4}");
    EXPECT_EQ(ReadEncryptedFile(FileOf(KeywordKind::Regex, true)), "stale secret");
    EXPECT_EQ(question.asked.size(), 1u) << "the regex list was never encrypted, so it is not asked about again";

    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body,
              L"次の理由でキーワードファイルの暗号化に失敗しました。\n\n理由："
              L"変換後ファイルと同名のファイルが存在する為、キーワードファイルを変換出来ません。: " +
                  FileOf(KeywordKind::Regex, true));
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
}

TEST_F(ListFileEncryptionTest, UndecryptableFileKeepsItsContentAndTheOtherFileIsStillConverted) {
    settings.Write(setting::kEncryptKeywordFile, true);
    WriteEncryptedFile(FileOf(KeywordKind::Wildcard, true), "secret*");
    test::WriteBytes(FileOf(KeywordKind::Regex, true), "sealed for another user");

    encryption.Set(false);

    EXPECT_FALSE(settings.EncryptKeywordFile());
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Wildcard, false)), "secret*");
    EXPECT_FALSE(Exists(KeywordKind::Regex, false)) << "no template stands in for the user's list";
    EXPECT_EQ(test::ReadBytes(FileOf(KeywordKind::Regex, true)), "sealed for another user");
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_NE(notifier.notifications[0].body.find(FileOf(KeywordKind::Regex, true)), std::wstring::npos);

    // Encrypting again finds no plain regex file: nothing offers to delete the user's sealed file.
    notifier.notifications.clear();
    encryption.Set(true);
    EXPECT_TRUE(question.asked.empty());
    EXPECT_EQ(test::ReadBytes(FileOf(KeywordKind::Regex, true)), "sealed for another user");
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body,
              L"次の理由でキーワードファイルの暗号化に失敗しました。\n\n理由：キーワードファイルが見つかりません。: " +
                  FileOf(KeywordKind::Regex, false));
}

TEST_F(ListFileEncryptionTest, UnwritableSettingsChangeNoFile) {
    settings.Write(setting::kEncryptKeywordFile, true);
    WriteEncryptedFile(FileOf(KeywordKind::Wildcard, true), "secret*");
    WriteEncryptedFile(FileOf(KeywordKind::Regex, true), "\\d{4}");
    const UniqueFileHandle locked = test::HoldAgainstWriting(paths.SettingsFile());
    ASSERT_TRUE(locked);

    encryption.Set(false);

    EXPECT_TRUE(settings.EncryptKeywordFile());
    EXPECT_FALSE(Exists(KeywordKind::Wildcard, false));
    EXPECT_EQ(ReadEncryptedFile(FileOf(KeywordKind::Regex, true)), "\\d{4}");
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body, L"次の理由でキーワードファイルの平文化に失敗しました。\n\n理由："
                                              L"Failed to write settings file: " + paths.SettingsFile());
}

TEST_F(ListFileEncryptionTest, MissingSourceFailsAndRecreatesThePlainTemplate) {
    WriteUtf8TextFile(FileOf(KeywordKind::Regex, false), "\\d");
    encryption.Set(true);

    EXPECT_FALSE(settings.EncryptKeywordFile());
    EXPECT_TRUE(Exists(KeywordKind::Wildcard, false)) << "template written by the rollback";
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Regex, false)), "\\d");
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body,
              L"次の理由でキーワードファイルの暗号化に失敗しました。\n\n理由：キーワードファイルが見つかりません。: " +
                  FileOf(KeywordKind::Wildcard, false));
}

}  // namespace
}  // namespace veltrano
