#include "regex/wildcard.h"

#include <gtest/gtest.h>

#include <regex>

namespace veltrano {
namespace {

TEST(WildcardToRegex, TranslatesStarsQuestionMarksAndEscapes) {
    EXPECT_EQ(WildcardToRegex(L"report_????.log"), L"report_....\\.log");
    EXPECT_EQ(WildcardToRegex(L"error_*"), L"error_.*");
    EXPECT_EQ(WildcardToRegex(L"a\\*b"), L"a\\*b");
    EXPECT_EQ(WildcardToRegex(L"a\\\\b"), L"a\\\\b");
    EXPECT_EQ(WildcardToRegex(L"x+y"), L"x\\+y");
    EXPECT_EQ(WildcardToRegex(L""), L"");
}

TEST(WildcardToRegex, QuotesEveryRegexSpecialCharacter) {
    EXPECT_EQ(WildcardToRegex(L".^$|()[]{}+"), L"\\.\\^\\$\\|\\(\\)\\[\\]\\{\\}\\+");
    // Escaped: special characters and '*' keep a backslash, anything else stands alone.
    EXPECT_EQ(WildcardToRegex(L"\\?\\*\\.\\a\\n\\機"), L"\\?\\*\\.an機");
    EXPECT_EQ(WildcardToRegex(L"機密*文書?"), L"機密.*文書.");
}

TEST(WildcardToRegex, KeepsADanglingEscapeSoCompilingFails) {
    EXPECT_EQ(WildcardToRegex(L"abc\\"), L"abc\\");
    EXPECT_THROW(std::wregex(WildcardToRegex(L"abc\\")), std::regex_error);
}

TEST(WildcardMatcher, RejectsADanglingEscapeLikeTheRegex) {
    try {
        WildcardMatcher matcher(L"abc\\", false);
        FAIL() << "accepted a dangling escape";
    } catch (const std::regex_error& error) {
        EXPECT_EQ(error.code(), std::regex_constants::error_escape);
    }
}

TEST(WildcardMatcher, FindsTheLeftmostMatchWithGreedyStars) {
    const WildcardMatcher matcher(L"a*b*c", false);
    // The first star runs to the last 'b' that still leaves a 'c' after it, the second to the last 'c'.
    EXPECT_EQ(matcher.Find(L"xxa1b2b3c4c5b"), (MatchSpan{2, 9}));
    EXPECT_EQ(matcher.Find(L"ab"), std::nullopt);
    // A star stops at a line end, so the match stays on one line.
    EXPECT_EQ(matcher.Find(L"a b\nc abc"), (MatchSpan{6, 3}));
}

TEST(WildcardMatcher, QuestionMarkAndStarSkipEveryLineTerminator) {
    const WildcardMatcher any(L"a?b", false);
    for (const wchar_t terminator : {L'\n', L'\r', L'\u2028', L'\u2029'}) {
        EXPECT_EQ(any.Find(std::wstring{L'a', terminator, L'b'}), std::nullopt);
    }
    EXPECT_EQ(any.Find(std::wstring{L'a', L'\0', L'b'}), (MatchSpan{0, 3}));
    EXPECT_EQ(any.Find(std::wstring{L'a', L'\xD800', L'b'}), (MatchSpan{0, 3}));
}

TEST(WildcardMatcher, MatchesEmptyAtTheStartForAStarAlone) {
    const WildcardMatcher matcher(L"*", false);
    EXPECT_EQ(matcher.Find(L""), (MatchSpan{0, 0}));
    EXPECT_EQ(matcher.Find(L"\nab"), (MatchSpan{0, 0}));
    EXPECT_EQ(matcher.Find(L"ab\ncd"), (MatchSpan{0, 2}));
}

TEST(WildcardMatcher, IgnoresCaseOnlyWhenAsked) {
    EXPECT_EQ(WildcardMatcher(L"Error_?", false).Find(L"ERROR_1 Error_2"), (MatchSpan{8, 7}));
    EXPECT_EQ(WildcardMatcher(L"Error_?", true).Find(L"ERROR_1 Error_2"), (MatchSpan{0, 7}));
}

TEST(WildcardMatcher, EscapedCharactersAreLiteral) {
    const WildcardMatcher matcher(L"\\*\\?.", false);
    EXPECT_EQ(matcher.Find(L"ab*?x *?."), (MatchSpan{6, 3}));
}

TEST(WildcardMatcher, FindStartsAtTheGivenPosition) {
    const WildcardMatcher matcher(L"a?", false);
    EXPECT_EQ(matcher.Find(L"a1a2", 1), (MatchSpan{2, 2}));
    EXPECT_EQ(matcher.Find(L"a1a2", 4), std::nullopt);
    EXPECT_EQ(matcher.Find(L"a1a2", 5), std::nullopt);
    EXPECT_EQ(WildcardMatcher(L"*", false).Find(L"ab", 2), (MatchSpan{2, 0}));
}

TEST(WildcardMatcher, FindNextStepsLikeTheRegexIterator) {
    const WildcardMatcher matcher(L"*", false);
    const std::wstring text = L"ab\ncd";
    std::vector<MatchSpan> spans;
    for (auto match = matcher.Find(text); match; match = matcher.FindNext(text, *match)) spans.push_back(*match);
    // Empty matches at the line end and the text end, as std::regex_replace sees them.
    EXPECT_EQ(spans, (std::vector<MatchSpan>{{0, 2}, {2, 0}, {3, 2}, {5, 0}}));
}

TEST(WildcardMatcher, HandlesAHugeSingleLineWithoutRecursion) {
    // std::regex overflows the stack on this; the matcher keeps two small thread lists.
    const std::wstring line = std::wstring(10'000'000, L'a') + L".txt";
    EXPECT_EQ(WildcardMatcher(L"*.txt", false).Find(line), (MatchSpan{0, line.size()}));
    EXPECT_EQ(WildcardMatcher(L"a*z", true).Find(line), std::nullopt);
}

}  // namespace
}  // namespace veltrano
