#include "matching/keyword_lists.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text_encoding.h"
#include "matching/keyword_templates.h"
#include "storage/text_files.h"
#include "support/keyword_files.h"
#include "support/policy_key.h"
#include "support/raw_files.h"

namespace veltrano {
namespace {

class KeywordListsTest : public test::KeywordFilesTest {
protected:
    KeywordListsTest() { question.answer = true; }

    void WritePlain(KeywordKind kind, const std::wstring& text) { WriteUtf8TextFile(FileOf(kind, false), WideToUtf8(text)); }
    std::vector<std::wstring> Texts(KeywordKind kind) const {
        std::vector<std::wstring> texts;
        for (const KeywordEntry& entry : lists.List(kind)) texts.push_back(entry.text);
        return texts;
    }
    std::string LogText() const { return test::ReadBytes(log.LogFilePath()); }
};

TEST(ParseKeywordLines, PrefixCommentAndLineEndRules) {
    test::ProgramData data;
    const KeywordList list = ParseKeywordLines(
        L"# comment\r\n\r\n\r\n[i]password*\r\n #notComment\n[i] abc\n[I]abc\n[i]\n x[i]y\r\r\n\ttab", KeywordKind::Wildcard, data.log);

    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list[0].text, L"[i]password*");
    EXPECT_TRUE(list[0].ignoreCase);
    EXPECT_EQ(list[1].text, L" #notComment");
    EXPECT_EQ(list[2].text, L"[i] abc");
    EXPECT_TRUE(list[2].ignoreCase);
    EXPECT_EQ(list[3].text, L"[I]abc");
    EXPECT_FALSE(list[3].ignoreCase);
    EXPECT_EQ(list[4].text, L"[i]");
    EXPECT_EQ(list[5].text, L" x[i]y");
    EXPECT_EQ(list[6].text, L"\ttab");

    // The pattern keeps the space after the prefix and treats "[i]" elsewhere literally.
    EXPECT_TRUE(std::regex_search(L"A ABC", list[2].pattern));
    EXPECT_FALSE(std::regex_search(L"AABC", list[2].pattern));
    EXPECT_TRUE(std::regex_search(L"[I]abc", list[3].pattern));
    EXPECT_FALSE(std::regex_search(L"[i]ABC", list[3].pattern));
    EXPECT_TRUE(std::regex_search(L"q x[i]y", list[5].pattern));
    ASSERT_TRUE(list[0].wildcard);
    EXPECT_TRUE(list[0].wildcard->Find(L"my PASSWORD=1"));
}

TEST_F(KeywordListsTest, BadLinesAreLoggedWithTheirNumberAndSkipped) {
    settings.Ini().WriteBool(section::kLog, L"UseLog", true);
    const KeywordList regexes = ParseKeywordLines(L"# c\n(abc\nok\\d\n", KeywordKind::Regex, log);
    ASSERT_EQ(regexes.size(), 1u);
    EXPECT_EQ(regexes[0].text, L"ok\\d");
    const KeywordList wildcards = ParseKeywordLines(L"ends\\\nfine", KeywordKind::Wildcard, log);
    ASSERT_EQ(wildcards.size(), 1u);

    const std::string logged = LogText();
    const std::string regexLine = WideToUtf8(L"][Other][キーワード解析エラー]タイプ: 正規表現 / 行番号: 2 / ");
    const std::string wildcardLine = WideToUtf8(L"][Other][キーワード解析エラー]タイプ: ワイルドカード / 行番号: 1 / ");
    EXPECT_NE(logged.find(regexLine), std::string::npos) << logged;
    EXPECT_NE(logged.find(WideToUtf8(L" / 記述内容: (abc\r\n")), std::string::npos) << logged;
    EXPECT_NE(logged.find(wildcardLine), std::string::npos) << logged;
    EXPECT_NE(logged.find(WideToUtf8(L" / 記述内容: ends\\\r\n")), std::string::npos) << logged;
    EXPECT_TRUE(notifier.notifications.empty());
}

TEST_F(KeywordListsTest, MissingFilesAreCreatedFromTemplatesAndLoadEmpty) {
    lists.Reload();
    for (KeywordKind kind : {KeywordKind::Wildcard, KeywordKind::Regex}) {
        const std::string bytes = test::ReadBytes(FileOf(kind, false));
        EXPECT_EQ(bytes, "\xEF\xBB\xBF" + WideToUtf8(KeywordTemplate(kind)));
        EXPECT_TRUE(lists.List(kind).empty());
    }
    EXPECT_EQ(paths.DataFile(L"_wildcard_keywords", L".txt"), FileOf(KeywordKind::Wildcard, false));
    EXPECT_TRUE(notifier.notifications.empty());
}

TEST(KeywordTemplate, LfLinesWithFinalLfAndExactExamples) {
    const std::wstring wildcard = KeywordTemplate(KeywordKind::Wildcard);
    const std::wstring regex = KeywordTemplate(KeywordKind::Regex);
    EXPECT_EQ(std::count(wildcard.begin(), wildcard.end(), L'\n'), 42);
    EXPECT_EQ(std::count(regex.begin(), regex.end(), L'\n'), 40);
    for (const std::wstring& text : {wildcard, regex}) {
        EXPECT_EQ(text.find(L'\r'), std::wstring::npos);
        EXPECT_EQ(text.back(), L'\n');
    }
    EXPECT_TRUE(wildcard.starts_with(L"# キーワードファイル（ワイルドカード）\n#\n"));
    EXPECT_NE(wildcard.find(L"\n#   ・\\ 自体を文字として使いたい場合は \\\\ と記述して下さい。\n"), std::wstring::npos);
    EXPECT_NE(regex.find(L"\n#   ([\"'])(?:(?!\\1).)*\\1\n"), std::wstring::npos);
    EXPECT_NE(regex.find(L"\n#   # クォートで囲まれた文字列を検知（例: \"text\" や 'text'）\n"), std::wstring::npos);
}

TEST_F(KeywordListsTest, FilesWithAndWithoutBomOrCrlfLoadTheSame) {
    test::WriteBytes(FileOf(KeywordKind::Wildcard, false), "a*\r\n\r\n\rb?\r\n");
    test::WriteBytes(FileOf(KeywordKind::Regex, false), "\xEF\xBB\xBF\\d{3}\n");
    lists.Reload();
    EXPECT_EQ(Texts(KeywordKind::Wildcard), (std::vector<std::wstring>{L"a*", L"b?"}));
    EXPECT_EQ(Texts(KeywordKind::Regex), (std::vector<std::wstring>{L"\\d{3}"}));
}

// An edit on disk is taken at the next check, tried again at each check while another program holds
// the file; a file an editor has half written keeps the list loaded before, and only the reload
// command empties a list whose file cannot be read.
TEST_F(KeywordListsTest, EditedFilesAreTakenAtTheNextCheckAndAnUnreadableOneIsReported) {
    WritePlain(KeywordKind::Wildcard, L"old");
    WritePlain(KeywordKind::Regex, L"kept");
    lists.Reload();
    ASSERT_EQ(lists.List(KeywordKind::Wildcard).size(), 1u);
    lists.ReloadChanged();
    EXPECT_TRUE(notifier.notifications.empty());

    WritePlain(KeywordKind::Wildcard, L"new\nnewer");
    lists.ReloadChanged();
    EXPECT_EQ(Texts(KeywordKind::Wildcard), (std::vector<std::wstring>{L"new", L"newer"}));

    WritePlain(KeywordKind::Wildcard, L"held");
    if (const UniqueFileHandle held = test::HoldFile(FileOf(KeywordKind::Wildcard, false), 0)) {
        lists.ReloadChanged();
        lists.ReloadChanged();
    }
    lists.ReloadChanged();
    EXPECT_EQ(Texts(KeywordKind::Wildcard), (std::vector<std::wstring>{L"held"}));

    test::WriteBytes(FileOf(KeywordKind::Wildcard, false), "\xC3\x28");
    lists.ReloadChanged();
    lists.ReloadChanged();  // reported once, not at every copy
    EXPECT_EQ(Texts(KeywordKind::Wildcard), (std::vector<std::wstring>{L"held"}));
    lists.Reload();
    EXPECT_TRUE(lists.List(KeywordKind::Wildcard).empty());
    EXPECT_EQ(Texts(KeywordKind::Regex), (std::vector<std::wstring>{L"kept"}));
    ASSERT_EQ(notifier.notifications.size(), 3u) << "the held file once, the bad bytes once, the reload";
    EXPECT_EQ(notifier.notifications[1].title, L"エラー");
    EXPECT_EQ(notifier.notifications[1].kind, NotifyKind::Error);
    EXPECT_EQ(notifier.notifications[1].body,
              L"次の理由で、監視キーワードリスト（ワイルドカード）の読み込みに失敗しました。\n\n理由："
              L"UTF-8 として読めない内容があります: " + FileOf(KeywordKind::Wildcard, false));
}

TEST_F(KeywordListsTest, EmptyEncryptedFileIsUnreadable) {
    settings.Write(setting::kEncryptKeywordFile, true);
    test::WriteBytes(FileOf(KeywordKind::Wildcard, true), "");
    WriteEncryptedFile(FileOf(KeywordKind::Regex, true), "x\\d");
    lists.Reload();
    EXPECT_TRUE(lists.List(KeywordKind::Wildcard).empty());
    EXPECT_EQ(Texts(KeywordKind::Regex), (std::vector<std::wstring>{L"x\\d"}));
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body,
              L"次の理由で、監視キーワードリスト（ワイルドカード）の読み込みに失敗しました。\n\n理由："
              L"Encrypted file is empty: " + FileOf(KeywordKind::Wildcard, true));
}

TEST_F(KeywordListsTest, MissingEncryptedFileSwitchesEncryptionOffAndKeepsTheOtherList) {
    settings.Write(setting::kEncryptKeywordFile, true);
    WriteEncryptedFile(FileOf(KeywordKind::Regex, true), "secret\\d+");
    lists.Reload();

    EXPECT_FALSE(settings.EncryptKeywordFile());
    EXPECT_EQ(test::ReadBytes(FileOf(KeywordKind::Wildcard, false)),
              "\xEF\xBB\xBF" + WideToUtf8(KeywordTemplate(KeywordKind::Wildcard)));
    EXPECT_TRUE(lists.List(KeywordKind::Wildcard).empty());
    // The regex list is still converted and monitored.
    EXPECT_EQ(ReadUtf8TextFile(FileOf(KeywordKind::Regex, false)), "secret\\d+");
    EXPECT_EQ(Texts(KeywordKind::Regex), (std::vector<std::wstring>{L"secret\\d+"}));
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"エラー");
    EXPECT_EQ(notifier.notifications[0].body,
              L"次の理由でキーワードファイルの平文化に失敗しました。\n\n理由：キーワードファイルが見つかりません。: " +
                  FileOf(KeywordKind::Wildcard, true));
}

TEST_F(KeywordListsTest, UnwritableSettingsWithAMissingEncryptedFileLoadWhatIsThere) {
    settings.Write(setting::kEncryptKeywordFile, true);
    WriteEncryptedFile(FileOf(KeywordKind::Regex, true), "secret\\d+");
    const UniqueFileHandle locked = test::HoldAgainstWriting(paths.SettingsFile());
    ASSERT_TRUE(locked);

    lists.Reload();  // once recursed until the stack overflowed

    EXPECT_TRUE(settings.EncryptKeywordFile());
    EXPECT_EQ(Texts(KeywordKind::Regex), (std::vector<std::wstring>{L"secret\\d+"}));
    EXPECT_FALSE(std::filesystem::exists(FileOf(KeywordKind::Wildcard, false)));
    ASSERT_EQ(notifier.notifications.size(), 2u) << "the unstored setting, then the unreadable wildcard list";
    EXPECT_NE(notifier.notifications[0].body.find(L"Failed to write settings file"), std::wstring::npos);
    EXPECT_NE(notifier.notifications[1].body.find(L"監視キーワードリスト（ワイルドカード）"), std::wstring::npos);
}

// A policy that holds encryption on seals plain lists when it comes and at each start; a list that
// cannot be sealed is read where it is, not shown as sealed, and tried again at the next start.
TEST_F(KeywordListsTest, APolicyHoldingEncryptionOnSealsThePlainLists) {
    struct Start {
        Start(Settings& held, const DataPaths& paths, Notifier& notifier, LogWriter& log, YesNoQuestion& question)
            : lists(held, paths, notifier, log), encryption(lists.Family(), notifier, question) {
            lists.AttachEncryption(encryption);
            lists.Reload();
        }
        KeywordLists lists;
        ListFileEncryption encryption;
    };
    test::PolicyKey policy;
    Settings held{paths.SettingsFile(), policy.root};
    WritePlain(KeywordKind::Wildcard, L"secret*");
    Start first(held, paths, notifier, log, question);
    policy.SetDword(HKEY_CURRENT_USER, L"Keyword", L"EncryptKeywordFile", 1);
    if (const UniqueFileHandle busy = test::HoldFile(FileOf(KeywordKind::Wildcard, false), 0)) {
        first.lists.ReloadChanged();
    }
    first.lists.ReloadChanged();
    EXPECT_FALSE(first.lists.Files().SealedOnDisk());
    EXPECT_TRUE(std::filesystem::exists(FileOf(KeywordKind::Regex, true)));
    ASSERT_EQ(first.lists.List(KeywordKind::Wildcard).size(), 1u) << "read where it is";
    ASSERT_FALSE(notifier.notifications.empty());
    EXPECT_NE(notifier.notifications.back().body.find(L"キーワードファイルの暗号化に失敗"), std::wstring::npos);

    Start second(held, paths, notifier, log, question);
    EXPECT_TRUE(second.lists.Files().SealedOnDisk());
    EXPECT_EQ(ReadEncryptedFile(FileOf(KeywordKind::Wildcard, true)), "secret*");
    EXPECT_EQ(second.lists.List(KeywordKind::Wildcard).size(), 1u);
    EXPECT_EQ(notifier.notifications.back().body, L"キーワードファイル暗号化：有効");
}

}  // namespace
}  // namespace veltrano
