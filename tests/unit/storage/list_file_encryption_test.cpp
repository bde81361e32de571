#include "storage/list_file_encryption.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "storage/text_files.h"
#include "support/keyword_files.h"

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

TEST_F(ListFileEncryptionTest, DecliningDuringEncryptionRollsEverythingBackToText) {
    WritePlainFiles();
    WriteEncryptedFile(FileOf(KeywordKind::Regex, true), "stale secret");

    encryption.Set(true);

    EXPECT_FALSE(settings.EncryptKeywordFile());
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Wildcard, false)), "secret*");
    EXPECT_FALSE(Exists(KeywordKind::Wildcard, true));
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Regex, false)), "\\d{4}");
    EXPECT_EQ(ReadEncryptedFile(FileOf(KeywordKind::Regex, true)), "stale secret");
    EXPECT_EQ(question.asked.size(), 2u) << "once encrypting, once switching back";

    const std::wstring refusal = L"変換後ファイルと同名のファイルが存在する為、キーワードファイルを変換出来ません。";
    ASSERT_EQ(notifier.notifications.size(), 2u);
    EXPECT_EQ(notifier.notifications[0].body, L"次の理由でキーワードファイルの平文化に失敗しました。\n\n理由：" + refusal);
    EXPECT_EQ(notifier.notifications[1].body, L"次の理由でキーワードファイルの暗号化に失敗しました。\n\n理由：" + refusal);
    EXPECT_EQ(notifier.notifications[1].kind, NotifyKind::Error);
}

TEST_F(ListFileEncryptionTest, MissingSourceFailsAndRecreatesThePlainTemplate) {
    WriteUtf8TextFile(FileOf(KeywordKind::Regex, false), "\\d");
    encryption.Set(true);

    EXPECT_FALSE(settings.EncryptKeywordFile());
    EXPECT_TRUE(Exists(KeywordKind::Wildcard, false)) << "template written by the rollback";
    EXPECT_TRUE(Exists(KeywordKind::Regex, false));
    // The switch-back finds no encrypted wildcard file either: two reports, inner first.
    ASSERT_EQ(notifier.notifications.size(), 2u);
    EXPECT_EQ(notifier.notifications[0].body,
              L"次の理由でキーワードファイルの平文化に失敗しました。\n\n理由：キーワードファイルが見つかりません。");
    EXPECT_EQ(notifier.notifications[1].body,
              L"次の理由でキーワードファイルの暗号化に失敗しました。\n\n理由：キーワードファイルが見つかりません。");
}

}  // namespace
}  // namespace veltrano
