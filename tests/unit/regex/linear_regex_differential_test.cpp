// The linear engine against plain std::regex_search and std::regex_replace on generated
// patterns and texts: where an anchored match begins, the first match, and every replacement.
#include "regex/linear_regex.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <iostream>
#include <random>
#include <regex>
#include <string>

#include "support/plain_regex.h"

namespace veltrano {
namespace {

using test::PlainSearch;
using test::Printable;

namespace rc = std::regex_constants;

constexpr std::uint32_t kSeed = 4242;

// Characters that fold oddly, full-width and Japanese letters, digits and line ends.
constexpr std::wstring_view kTextCharacters = L"aAbBsS\u00DF\u017FkK\u212A\u0130i\u0131\u03A3\u03C3\u03C2"
                                              L"\uFF21\uFF41\u3042\u30A2_1\uFF12 \t\r\n\r\n-.";

// Patterns of the regular subset: classes and their negations, escapes, case-folding letters,
// anchors and word boundaries, groups, alternatives, greedy, lazy and counted repeats.
class RegularPatternGenerator {
public:
    explicit RegularPatternGenerator(std::uint32_t seed) : engine_(seed) {}

    size_t Below(size_t n) { return static_cast<size_t>(engine_() % n); }

    std::wstring Pattern() { return Alternation(0); }

    std::wstring Text() {
        std::wstring text;
        for (size_t i = 0, n = Below(14); i < n; ++i) text += kTextCharacters[Below(kTextCharacters.size())];
        return text;
    }

private:
    std::wstring Alternation(int depth) {
        std::wstring out = Sequence(depth);
        while (Below(4) == 0) out += L"|" + Sequence(depth);
        return out;
    }

    std::wstring Sequence(int depth) {
        std::wstring out;
        for (size_t i = 0, n = Below(4); i < n; ++i) out += Item(depth);
        return out;
    }

    std::wstring Item(int depth) {
        static constexpr const wchar_t* kAssertions[] = {L"^", L"$", L"\\b", L"\\B"};
        static constexpr const wchar_t* kAtoms[] = {
            L"a", L"A", L"s", L"\u00DF", L"k", L"\u0130", L"\u03C3", L"\uFF41", L"\u3042", L".", L"-", L"\\.",
            L"\\d", L"\\D", L"\\w", L"\\W", L"\\s", L"\\S", L"[a-z]", L"[^a-z]", L"[A-Z\\d]", L"[^\\s\\w]",
            L"[\u03A3\u03C3]", L"[\u00DFs]", L"[\uFF21-\uFF3A]", L"\\x41", L"\\u3042", L"[\\r\\n]", L"[^\\n]",
            L"\\t", L"[.]", L"[]", L"[^]"};
        static constexpr const wchar_t* kQuantifiers[] = {L"*", L"+", L"?", L"{2}", L"{0,3}", L"{1,}",
                                                           L"*?", L"+?", L"??", L"{1,2}?"};
        // Two levels of groups: deeper nests of loops make the plain regex backtrack for minutes.
        const size_t pick = Below(depth < 2 ? 12 : 9);
        if (pick == 0) return kAssertions[Below(std::size(kAssertions))];
        std::wstring atom;
        if (pick < 9) {
            atom = kAtoms[Below(std::size(kAtoms))];
        } else {
            atom = (Below(2) ? L"(" : L"(?:") + Alternation(depth + 1) + L")";
        }
        if (Below(3) == 0) atom += kQuantifiers[Below(std::size(kQuantifiers))];
        return atom;
    }

    std::mt19937 engine_;
};

// Where std::regex_search's own attempt at each position succeeds.
std::vector<bool> PlainStarts(const std::wregex& re, const std::wstring& text) {
    std::vector<bool> starts(text.size() + 1);
    for (size_t p = 0; p <= text.size(); ++p) {
        const auto flags = rc::match_continuous | (p > 0 ? rc::match_prev_avail : rc::match_default);
        starts[p] = std::regex_search(text.begin() + static_cast<std::ptrdiff_t>(p), text.end(), re, flags);
    }
    return starts;
}

TEST(LinearRegexDifferential, AgreesWithThePlainRegexOnGeneratedPatterns) {
    static constexpr const wchar_t* kFormats[] = {L"[$&]", L"<$1>", L"$'|", L"$$x", L"", L"$2$1", L"\\1&"};
    static constexpr rc::match_flag_type kFlags[] = {rc::format_default, rc::format_first_only, rc::format_no_copy,
                                                     rc::format_sed};
    RegularPatternGenerator generate(kSeed);
    MatchBudget budget(std::chrono::minutes(5));
    int linear = 0;
    int comparisons = 0;
    int failures = 0;
    const auto report = [&](const std::wstring& pattern, bool icase, const std::wstring& text, const std::string& what) {
        if (++failures > 20) return;
        ADD_FAILURE() << what << ": pattern /" << Printable(pattern) << "/" << (icase ? "i" : "") << " text \""
                      << Printable(text) << '"';
    };
    for (int round = 0; round < 4000; ++round) {
        const std::wstring pattern = generate.Pattern();
        for (const bool icase : {false, true}) {
            std::wregex re;
            try {
                re = CompileUserPattern(pattern, icase ? rc::ECMAScript | rc::icase : rc::ECMAScript);
            } catch (const std::regex_error&) {
                continue;
            }
            const std::shared_ptr<const LinearRegex> engine = LinearRegex::Create(pattern, icase);
            if (!engine) {
                report(pattern, icase, L"", "not read by the linear engine");
                continue;
            }
            ++linear;
            for (int t = 0; t < 4; ++t) {
                const std::wstring text = generate.Text();
                const size_t from = generate.Below(text.size() + 1);
                comparisons += 3 + static_cast<int>(std::size(kFlags));
                if (engine->Starts(text) != PlainStarts(re, text)) report(pattern, icase, text, "starts");
                const MatchStartFinder first = engine->SearchFinder(text, budget);
                if (BoundedSearch(re, text, budget, 0, first) != PlainSearch(re, text, 0)) {
                    report(pattern, icase, text, "search");
                }
                if (BoundedSearch(re, text, budget, from, first) != PlainSearch(re, text, from)) {
                    report(pattern, icase, text, "search from " + std::to_string(from));
                }
                const std::wstring format = kFormats[generate.Below(std::size(kFormats))];
                for (const auto flags : kFlags) {
                    const std::wstring expected = std::regex_replace(text, re, format, flags);
                    const std::wstring replaced = BoundedReplace(re, text, format, flags, budget, engine->StartFinder(text, budget));
                    if (replaced != expected) {
                        report(pattern, icase, text,
                               "replace with \"" + Printable(format) + "\" flags " + std::to_string(flags) + " gave \"" +
                                   Printable(replaced) + "\", not \"" + Printable(expected) + '"');
                    }
                }
            }
        }
    }
    std::cout << "  " << linear << " patterns read by the linear engine, " << comparisons << " comparisons\n";
    EXPECT_GT(linear, 6000);
}

TEST(LinearRegex, RelaxesBackReferencesAndLookaheadsAndLeavesTheRestToTheBoundedMatcher) {
    // Back-references that copy copies double with every group.
    std::wstring doubling = L"(a)";
    for (int group = 2; group <= 40; ++group) {
        doubling += L"(\\" + std::to_wstring(group - 1) + L"\\" + std::to_wstring(group - 1) + L")";
    }
    for (const std::wstring& pattern : {std::wstring(L"[[:alpha:]]"), std::wstring(L"[[.a.]]"), std::wstring(L"\\0"),
                                        std::wstring(L"a{1001}"), std::wstring(L"(a\\1)"), doubling}) {
        EXPECT_EQ(LinearRegex::Create(pattern, false), nullptr) << Printable(pattern);
    }
    for (const wchar_t* pattern : {L"(a)\\1", L"a(?=b)", L"a(?!b)"}) {
        const std::shared_ptr<const LinearRegex> relaxed = LinearRegex::Create(pattern, false);
        ASSERT_NE(relaxed, nullptr) << Printable(pattern);
        EXPECT_FALSE(relaxed->Exact());
    }
    EXPECT_NE(LinearRegex::Create(L"(?:\\d{3}-){2}\\d{4}|[\\w.+-]+@[\\w-]+\\.[\\w.]+", true), nullptr);
}

TEST(LinearRegex, AScanThatKeepsOverflowingItsCacheOrClassifyingStopsAtTheDeadline) {
    // Read backwards, where each of the last 14 'a's stands needs a state of its own: 2^14 of them.
    const std::shared_ptr<const LinearRegex> thrashing = LinearRegex::Create(L"[ab]{14}a", false);
    ASSERT_NE(thrashing, nullptr);
    std::mt19937 random(5);
    std::wstring text;
    for (int i = 0; i < 100000; ++i) text += random() % 2 ? L'a' : L'b';
    MatchBudget spent(std::chrono::steady_clock::time_point{});
    EXPECT_THROW(thrashing->FirstStart(text, 0, spent), MatchAborted);
    EXPECT_TRUE(thrashing->FirstStart(text).has_value()) << "without a deadline it finishes";

    // Few states, but thousands of distinct characters, each asked of std::wregex (folded ranges).
    const std::shared_ptr<const LinearRegex> folding = LinearRegex::Create(L"[一-龯][ぁ-ん]\\d", true);
    ASSERT_NE(folding, nullptr);
    std::wstring distinct;
    for (wchar_t c = 0x4E00; c < 0x4E00 + 20000; ++c) distinct += c;
    EXPECT_THROW(folding->FirstStart(distinct, 0, spent), MatchAborted);
    EXPECT_FALSE(folding->FirstStart(distinct).has_value()) << "without a deadline it finishes";
}

}  // namespace
}  // namespace veltrano
