// The prefiltered search against the plain per-keyword search, on generated keyword lists and
// texts (fixed seed): every keyword's first match (for the regexes that share the linear scan:
// where it begins), and the first hit of each list, must agree.
#include "matching/keyword_prefilter.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <random>

#include "base/text_encoding.h"
#include "matching/keyword_lists.h"
#include "matching/keyword_search.h"
#include "support/fixed_clock.h"
#include "support/temp_folder.h"

namespace veltrano {
namespace {

// Characters that fold oddly, line ends inside keywords and texts, and regex syntax.
const std::vector<std::wstring> kWildcardPieces = {L"a", L"b", L"A", L"B", L"-", L".", L"ß", L"İ", L"Σ", L"ς",
                                                   L"*", L"?", L"\\*", L"\\?", L"\\\\", L"\r", L"\u2028", L"ab"};
const std::vector<std::wstring> kRegexPieces = {
    L"a", L"b", L"A", L"B", L"-", L"ß", L"İ", L"Σ", L"\\.", L".", L"[ab]", L"a*", L"b+", L"A?", L"(a|b)",
    L"(?:ab)*", L"\\d", L"\\bb", L"|", L"^", L"$", L"a{2}", L"(a)\\1", L"\\r", L"\r", L"\u2028", L"ab", L"\\*",
    L"(?=b)", L"\\x41", L"\\u0062", L"[^a]", L"\\?", L"\\n"};
const std::vector<std::wstring> kTextPieces = {L"a", L"b", L"A", L"B", L"-", L".", L"ß", L"İ", L"i", L"Σ", L"σ",
                                               L"ς", L"*", L"?", L"\\", L"\n", L"\r", L"\u2028", L"\u2029", L"1",
                                               L" ", L"ab", L"aab"};

class KeywordPrefilterDifferential : public ::testing::Test {
protected:
    std::wstring Pick(const std::vector<std::wstring>& pieces) { return pieces[engine_() % pieces.size()]; }

    std::wstring Keyword(const std::vector<std::wstring>& pieces) {
        std::wstring keyword = engine_() % 2 ? L"[i]" : L"";
        const size_t count = 1 + engine_() % 6;
        for (size_t i = 0; i < count; ++i) keyword += Pick(pieces);
        return keyword;
    }

    // Random texts, many with line ends, some holding pieces of the keywords' literals.
    std::wstring Text(const std::wstring& keywordLines) {
        std::wstring text;
        const size_t count = engine_() % 60;
        for (size_t i = 0; i < count; ++i) {
            if (engine_() % 5 == 0 && !keywordLines.empty()) {
                const size_t at = engine_() % keywordLines.size();
                text += keywordLines.substr(at, 1 + engine_() % 6);
            } else {
                text += Pick(kTextPieces);
            }
        }
        return text;
    }

    KeywordList Parse(const std::wstring& lines, KeywordKind kind) { return ParseKeywordLines(lines, kind, log_); }

    // Each keyword alone, then the list's first hit, both ways.
    void ExpectSameResults(const KeywordList& list, KeywordKind kind, const std::wstring& text) {
        const KeywordPrefilter prefilter(list);
        ASSERT_TRUE(prefilter.Covers(list));
        // Walked together with another list's automaton, as a search walks all its lists.
        const std::array<const KeywordPrefilter*, 2> walked = {&neighbour_, &prefilter};
        KeywordPrefilter::TextScan scan = std::move(KeywordPrefilter::ScanTogether(walked, text)[1]);
        for (size_t i = 0; i < list.size(); ++i) {
            SCOPED_TRACE(WideToUtf8(L"keyword: " + list[i].text + L" / text: " + text));
            if (kind == KeywordKind::Wildcard) {
                EXPECT_EQ(prefilter.FindWildcard(list, i, text, scan), list[i].wildcard->Find(text));
            } else {
                MatchBudget budget(std::chrono::seconds(60));
                const std::optional<MatchSpan> plain = BoundedSearch(list[i].pattern, text, budget);
                const std::optional<size_t> start = prefilter.RegexStart(i, scan);
                EXPECT_EQ(start ? BoundedSearch(list[i].pattern, text, budget, *start) : std::nullopt, plain);
                if (prefilter.SharesLinearScan(i)) {
                    ++sharedScans_;
                    EXPECT_EQ(prefilter.SharedLinearStart(i, text, scan, budget),
                              plain ? std::optional(plain->position) : std::nullopt);
                }
            }
        }
        SearchTimeShare plainTime(std::chrono::steady_clock::now() + std::chrono::seconds(60), list.size());
        SearchTimeShare filteredTime(std::chrono::steady_clock::now() + std::chrono::seconds(60), list.size());
        KeywordSearchResult plainResult;
        KeywordSearchResult filteredResult;
        const KeywordHit plain = FindFirstKeyword(list, kind, text, plainTime, plainResult);
        KeywordPrefilter::TextScan filteredScan = prefilter.Scan(text);
        const KeywordHit filtered = FindFirstKeyword(list, prefilter, filteredScan, kind, text, filteredTime, filteredResult);
        EXPECT_EQ(filtered.found, plain.found);
        EXPECT_EQ(filtered.keywordText, plain.keywordText);
        EXPECT_EQ(filtered.matchedText, plain.matchedText);
        EXPECT_EQ(filteredResult.stoppedCount, 0u);
        EXPECT_EQ(plainResult.stoppedCount, 0u);
    }

    void RunGenerated(KeywordKind kind, const std::vector<std::wstring>& pieces, int lists) {
        for (int n = 0; n < lists && !HasFailure(); ++n) {
            std::wstring lines;
            const size_t keywords = 1 + engine_() % 8;
            for (size_t k = 0; k < keywords; ++k) lines += Keyword(pieces) + L"\n";
            const KeywordList list = Parse(lines, kind);
            for (int t = 0; t < 30 && !HasFailure(); ++t) ExpectSameResults(list, kind, Text(lines));
        }
    }

    std::mt19937 engine_{20261206};
    int sharedScans_ = 0;
    test::TempFolder folder_;
    DataPaths paths_{folder_.Path(), L"taro"};
    Settings settings_{paths_.SettingsFile()};
    test::FixedClock clock_;
    LogWriter log_{settings_, paths_, clock_};
    const KeywordList neighbourList_ = Parse(L"ab*\n[i]σ?b\n-.\n", KeywordKind::Wildcard);
    const KeywordPrefilter neighbour_{neighbourList_};
};

TEST_F(KeywordPrefilterDifferential, WildcardListsAgreeWithThePlainSearch) {
    RunGenerated(KeywordKind::Wildcard, kWildcardPieces, 400);
}

TEST_F(KeywordPrefilterDifferential, RegexListsAgreeWithThePlainSearch) {
    RunGenerated(KeywordKind::Regex, kRegexPieces, 400);
    EXPECT_GT(sharedScans_, 10000);
}

TEST_F(KeywordPrefilterDifferential, LaterLinesAreFoundWhenEarlierLinesHoldOnlyTheLiteral) {
    const KeywordList list = Parse(L"[i]project-x-*42\nreport_??.log\n", KeywordKind::Wildcard);
    ExpectSameResults(list, KeywordKind::Wildcard, L"PROJECT-X- no\r\nreport_1.log\nproject-x-1\u2028project-X-9 42\n");
    ExpectSameResults(list, KeywordKind::Wildcard, L"report_ab.log report_abc.log");
}

TEST_F(KeywordPrefilterDifferential, KeywordsWithoutLiteralAlwaysRun) {
    const KeywordList wildcards = Parse(L"*\n?\n[i]\n", KeywordKind::Wildcard);
    ExpectSameResults(wildcards, KeywordKind::Wildcard, L"");
    ExpectSameResults(wildcards, KeywordKind::Wildcard, L"\n\nx");
    const KeywordList regexes = Parse(L"a|b\n(ab)c\n\\d+\n^$\n", KeywordKind::Regex);
    ExpectSameResults(regexes, KeywordKind::Regex, L"xx\n");
    ExpectSameResults(regexes, KeywordKind::Regex, L"7 abc b");
}

TEST_F(KeywordPrefilterDifferential, AbsentLiteralSkipsTheKeyword) {
    const KeywordList regexes = Parse(L"API_KEY_[A-Z0-9]{4}\n[i]token=\\d\n", KeywordKind::Regex);
    const KeywordPrefilter prefilter(regexes);
    const KeywordPrefilter::TextScan scan = prefilter.Scan(L"no keys here, TOKEN=5");
    EXPECT_EQ(prefilter.RegexStart(0, scan), std::nullopt);
    EXPECT_EQ(prefilter.RegexStart(1, scan), std::optional<size_t>(14));
}

}  // namespace
}  // namespace veltrano
