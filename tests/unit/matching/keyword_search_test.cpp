#include "matching/keyword_search.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "storage/text_files.h"
#include "support/program_data.h"
#include "support/raw_files.h"
#include "support/recording_notifier.h"

namespace veltrano {
namespace {

class KeywordSearchTest : public ::testing::Test, protected test::ProgramData {
protected:
    void Load(const std::wstring& wildcards, const std::wstring& regexes) {
        WriteUtf8TextFile(lists.KeywordFilePath(KeywordKind::Wildcard, false), WideToUtf8(wildcards));
        WriteUtf8TextFile(lists.KeywordFilePath(KeywordKind::Regex, false), WideToUtf8(regexes));
        notifier.notifications.clear();
        lists.Reload();
        ASSERT_TRUE(notifier.notifications.empty());
    }
    KeywordHit Find(std::wstring_view text) {
        return FindKeyword(lists.Set(), text, std::chrono::seconds(30)).hit;
    }

    test::RecordingNotifier notifier;
    KeywordLists lists{settings, paths, notifier, log};
    KeywordSearch search{lists, settings, notifier, log};
};

TEST_F(KeywordSearchTest, RegexHitIsReportedWithThreeLinesAndLogged) {
    Load(L"", L"\\d{3}-\\d{4}-\\d{4}\n");
    settings.Ini().WriteBool(section::kLog, L"UseLog", true);
    search.SearchKeywords(L"Call 090-1234-5678\nnow");

    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード検出");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Warning);
    EXPECT_EQ(notifier.notifications[0].body,
              L"一致部分: 090-1234-5678\n正規表現キーワード: \\d{3}-\\d{4}-\\d{4}\n設定: 大文字小文字区別");
    EXPECT_EQ(test::ReadBytes(log.LogFilePath()),
              "\xEF\xBB\xBF" + WideToUtf8(L"[09:05:03.007][KeywordSearch][クリップボード検出]タイプ: 正規表現 / "
                                          L"キーワード: \\d{3}-\\d{4}-\\d{4} / 設定: 大文字小文字区別 / "
                                          L"一致部分: 090-1234-5678 / クリップボード内容: Call 090-1234-5678\nnow\r\n"));
}

// The detectors come after both lists and report like a keyword, their label rule as the setting,
// the number shown and spoken by its last four digits only.
TEST_F(KeywordSearchTest, ADetectorHitIsReportedAfterTheKeywordsWithItsRuleAndLogged) {
    Load(L"", L"\\d{4} \\d{4} \\d{4}\n");
    settings.Ini().WriteBool(section::kLog, L"UseLog", true);
    settings.Ini().WriteBool(section::kDetect, L"DetectMyNumber", true);
    search.SearchKeywords(L"番号 1234 5678 9018");
    settings.Ini().WriteBool(section::kDetect, L"DetectMyNumberNeedsLabel", false);
    Load(L"", L"");
    search.SearchKeywords(L"番号 1234 5678 9018");

    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード検出");
    EXPECT_EQ(notifier.notifications[0].body, L"一致部分: **** **** 9018\n検出ルール: 個人番号\n設定: ラベル不要");
    EXPECT_EQ(notifier.notifications[0].spokenBody, L"一致部分: 下4桁 9018\n検出ルール: 個人番号\n設定: ラベル不要");
    search.SearchKeywords(L"番号 １２３４ー５６７８ー９０１８");
    EXPECT_EQ(notifier.notifications[1].body, L"一致部分: ＊＊＊＊ー＊＊＊＊ー９０１８\n検出ルール: 個人番号\n設定: ラベル不要");
    settings.Ini().WriteBool(section::kNotify, L"MaskDetectedNumbers", false);
    search.SearchKeywords(L"番号 1234 5678 9018");
    EXPECT_EQ(notifier.notifications[2].spokenBody, L"一致部分: 1234 5678 9018\n検出ルール: 個人番号\n設定: ラベル不要");
    const std::string logged = test::ReadBytes(log.LogFilePath());
    EXPECT_NE(logged.find(WideToUtf8(L"[KeywordSearch][クリップボード検出]タイプ: 正規表現 / キーワード: ")), std::string::npos)
        << "the keywords come first";
    EXPECT_NE(logged.find(WideToUtf8(L"[KeywordSearch][クリップボード検出]タイプ: 検出ルール / キーワード: 個人番号 / "
                                  L"設定: ラベル不要 / 一致部分: 1234 5678 9018 / クリップボード内容: 番号 1234 5678 9018\r\n")),
              std::string::npos)
        << logged;
}

TEST_F(KeywordSearchTest, WildcardListComesFirstAndFileOrderDecides) {
    Load(L"# c\nplan*\n[i]project-x\n", L"PROJECT\n");
    const KeywordHit hit = Find(L"PROJECT-X plan now");
    EXPECT_TRUE(hit.found);
    EXPECT_EQ(hit.kind, KeywordKind::Wildcard);
    EXPECT_EQ(hit.keywordText, L"plan*");
    EXPECT_EQ(hit.matchedText, L"plan now");

    const KeywordHit caseless = Find(L"PROJECT-X only");
    EXPECT_EQ(caseless.keywordText, L"[i]project-x");
    EXPECT_EQ(caseless.matchedText, L"PROJECT-X");
    EXPECT_TRUE(caseless.ignoreCase);
    EXPECT_EQ(DetectionMessage(caseless, caseless.matchedText),
              L"一致部分: PROJECT-X\nワイルドカードキーワード: [i]project-x\n設定: 大文字小文字無視");

    const KeywordHit regex = Find(L"PROJECT only");
    EXPECT_EQ(regex.kind, KeywordKind::Regex);
}

TEST_F(KeywordSearchTest, FirstOccurrenceAndEmptyMatches) {
    Load(L"a?c\n", L"");
    EXPECT_EQ(Find(L"xxabc abc adc").matchedText, L"abc");

    // "[i]" alone is an empty pattern: every text is reported with an empty match.
    Load(L"[i]\n", L"");
    search.SearchKeywords(L"anything");
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body, L"一致部分: \nワイルドカードキーワード: [i]\n設定: 大文字小文字無視");
    EXPECT_TRUE(Find(L"").found);

    // "*" alone takes the first line whole (the match never crosses a line break).
    Load(L"*\n", L"");
    EXPECT_EQ(Find(L"first line\r\nsecond").matchedText, L"first line");
    EXPECT_TRUE(Find(L"").found);
}

TEST_F(KeywordSearchTest, EmptyListsReportNothing) {
    Load(L"", L"");
    search.SearchKeywords(L"nothing to see here 1234");
    EXPECT_TRUE(notifier.notifications.empty());
}

TEST_F(KeywordSearchTest, StoppedKeywordIsReportedOnceAndTheOthersStillRun) {
    // The lookahead can never hold, but only the backtracking matcher finds that out, exploding on a long run of 'a'.
    Load(L"", L"(a|aa)*(?=z)a\n(a+)+(?=y)a\nneedle\n");
    const std::wstring text = std::wstring(2000, L'a') + L" needle";
    search.SearchKeywords(text);

    ASSERT_EQ(notifier.notifications.size(), 2u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード検出");
    EXPECT_NE(notifier.notifications[0].body.find(L"正規表現キーワード: needle"), std::wstring::npos);
    EXPECT_EQ(notifier.notifications[1].title, L"キーワード検索中断");
    EXPECT_EQ(notifier.notifications[1].kind, NotifyKind::Error);
    EXPECT_EQ(notifier.notifications[1].body,
              L"次の理由で、キーワードの検索を中断しました。\n\n理由：このキーワードの照合に時間が掛かりすぎます。\n"
              L"正規表現キーワード: (a|aa)*(?=z)a\n（ほか 1 件のキーワードも中断しました）");
}

}  // namespace
}  // namespace veltrano
