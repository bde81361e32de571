// BoundedSearch and BoundedReplace against plain std::regex_search and std::regex_replace on
// generated patterns: the guard must never change an answer.
#include "regex/bounded_match.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <iostream>
#include <random>
#include <regex>
#include <string>

#include "regex/linear_regex.h"
#include "support/plain_regex.h"

namespace veltrano {
namespace {

using test::PlainSearch;
using test::Printable;

namespace rc = std::regex_constants;

constexpr std::uint32_t kSeed = 7081;

// Patterns from a small ECMAScript grammar: groups, back-references, lookahead, lazy and
// counted repeats, anchors and word boundaries over a few letters.
class RegexGenerator {
public:
    explicit RegexGenerator(std::uint32_t seed) : engine_(seed) {}

    size_t Below(size_t n) { return static_cast<size_t>(engine_() % n); }

    std::wstring Pattern() {
        groups_ = 0;
        return Alternation(0);
    }

    // A group holding an anchor, a word boundary, a lookahead or a group of its own, referred to
    // later where what it asserts need not hold: the reference compares only the captured text.
    std::wstring BackReferencePattern() {
        static constexpr const wchar_t* kAssertions[] = {L"^", L"$", L"\\b", L"\\B", L"(?=a)", L"(?!b)", L"(a|b)", L""};
        static constexpr const wchar_t* kTails[] = {L"", L"$", L"\\b", L"\\B", L"a"};
        groups_ = 1;
        std::wstring group = kAssertions[Below(std::size(kAssertions))] + Sequence(1);
        if (Below(2)) group += kAssertions[Below(std::size(kAssertions))];
        const std::wstring middle = Below(2) ? Sequence(1) : L"";
        return L"(" + group + L")" + middle + L"\\1" + kTails[Below(std::size(kTails))];
    }

    std::wstring Text() {
        static constexpr std::wstring_view kChars = L"aabbAB \n\r";
        std::wstring text;
        for (size_t i = 0, n = Below(13); i < n; ++i) text += kChars[Below(kChars.size())];
        return text;
    }

private:
    std::wstring Alternation(int depth) {
        std::wstring out = Sequence(depth);
        if (Below(4) == 0) out += L"|" + Sequence(depth);
        return out;
    }

    std::wstring Sequence(int depth) {
        std::wstring out;
        for (size_t i = 0, n = 1 + Below(3); i < n; ++i) out += Item(depth);
        return out;
    }

    std::wstring Item(int depth) {
        static constexpr const wchar_t* kQuantifiers[] = {L"*", L"+", L"?", L"{1,2}", L"*?", L"+?", L"{0,2}?", L"{2}"};
        const size_t pick = Below(depth < 3 ? 16 : 10);
        switch (pick) {
        case 0:
            return L"^";
        case 1:
            return L"$";
        case 2:
            return Below(2) ? L"\\b" : L"\\B";
        case 3:
            return groups_ > 0 ? L"\\" + std::to_wstring(1 + Below(groups_)) : L"a";
        default:
            break;
        }
        std::wstring atom;
        if (pick < 10) {
            static constexpr const wchar_t* kAtoms[] = {L"a", L"b", L"A", L".", L"[ab]", L"[^a\\n]"};
            atom = kAtoms[pick - 4];
        } else if (pick < 13) {
            ++groups_;
            atom = L"(" + Alternation(depth + 1) + L")";
        } else if (pick < 14) {
            atom = L"(?:" + Alternation(depth + 1) + L")";
        } else {
            // A lookahead is an assertion: it takes no quantifier.
            return (Below(2) ? L"(?=" : L"(?!") + Alternation(depth + 1) + L")";
        }
        if (Below(3) == 0) atom += kQuantifiers[Below(std::size(kQuantifiers))];
        return atom;
    }

    std::mt19937 engine_;
    size_t groups_ = 0;
};

TEST(BoundedMatch, GivesThePlainRegexAnswersOnGeneratedCases) {
    static constexpr const wchar_t* kFormats[] = {L"[$&]", L"<$1>", L"$`|$'", L"$$x", L"", L"$2$1"};
    static constexpr rc::match_flag_type kFlags[] = {rc::format_default, rc::format_first_only, rc::format_no_copy,
                                                     rc::format_first_only | rc::format_no_copy};
    RegexGenerator generate(kSeed);
    MatchBudget budget(std::chrono::minutes(5));
    int compiled = 0;
    int relaxed = 0;
    int comparisons = 0;
    int failures = 0;
    const auto report = [&](const std::wstring& pattern, const std::wstring& text, const std::string& what) {
        if (++failures > 20) return;
        ADD_FAILURE() << what << ": pattern /" << Printable(pattern) << "/ text \"" << Printable(text) << '"';
    };
    for (int round = 0; round < 4000; ++round) {
        const std::wstring pattern = round % 4 == 3 ? generate.BackReferencePattern() : generate.Pattern();
        for (const auto options : {rc::ECMAScript, rc::ECMAScript | rc::icase, rc::ECMAScript | rc::multiline}) {
            std::wregex re;
            try {
                re = CompileUserPattern(pattern, options);
            } catch (const std::regex_error&) {
                continue;  // the grammar can produce patterns std::regex rejects
            }
            ++compiled;
            // With back-references or lookaheads the linear engine only narrows where to try.
            const std::shared_ptr<const LinearRegex> engine =
                options & rc::multiline ? nullptr : LinearRegex::Create(pattern, (options & rc::icase) != 0);
            if (engine && !engine->Exact()) ++relaxed;
            for (int t = 0; t < 4; ++t) {
                const std::wstring text = generate.Text();
                const size_t from = generate.Below(text.size() + 1);
                comparisons += 2 + static_cast<int>(std::size(kFlags));
                if (BoundedSearch(re, text, budget) != PlainSearch(re, text, 0)) report(pattern, text, "search");
                if (BoundedSearch(re, text, budget, from) != PlainSearch(re, text, from)) {
                    report(pattern, text, "search from " + std::to_string(from));
                }
                if (engine && BoundedSearch(re, text, budget, from, engine->SearchFinder(text, budget)) != PlainSearch(re, text, from)) {
                    report(pattern, text, "guided search from " + std::to_string(from));
                }
                const std::wstring format = kFormats[generate.Below(std::size(kFormats))];
                for (const auto flags : kFlags) {
                    const std::wstring expected = std::regex_replace(text, re, format, flags);
                    if (BoundedReplace(re, text, format, flags, budget) != expected) {
                        report(pattern, text, "replace with \"" + Printable(format) + "\" flags " + std::to_string(flags));
                    }
                    if (engine && BoundedReplace(re, text, format, flags, budget, engine->StartFinder(text, budget)) != expected) {
                        report(pattern, text, "guided replace with \"" + Printable(format) + "\" flags " + std::to_string(flags));
                    }
                }
            }
        }
    }
    std::cout << "  " << compiled << " compiled patterns (" << relaxed << " through a relaxed linear engine), "
              << comparisons << " comparisons\n";
    EXPECT_GT(compiled, 5000);
    EXPECT_GT(relaxed, 500);
}

TEST(BoundedMatch, ReplacesEmptyMatchesLikeThePlainRegex) {
    MatchBudget budget(std::chrono::minutes(1));
    const std::wregex re(L"x*");
    const std::wstring text = L"axxb\nx";
    EXPECT_EQ(BoundedReplace(re, text, L"-", rc::format_default, budget), std::regex_replace(text, re, L"-"));
    EXPECT_EQ(BoundedReplace(re, text, L"-", rc::format_default, budget), L"-a--b-\n--");
}

TEST(BoundedMatch, ReportsTheFirstMatchAsASpan) {
    MatchBudget budget(std::chrono::minutes(1));
    EXPECT_EQ(BoundedSearch(std::wregex(L"b+"), L"aabbbc", budget), (MatchSpan{2, 3}));
    EXPECT_EQ(BoundedSearch(std::wregex(L"z"), L"aabbbc", budget), std::nullopt);
    EXPECT_EQ(BoundedSearch(std::wregex(L"^"), L"", budget), (MatchSpan{0, 0}));
    EXPECT_EQ(BoundedSearch(std::wregex(L"b"), L"ab", budget, 3), std::nullopt);
}

}  // namespace
}  // namespace veltrano
