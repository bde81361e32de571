// WildcardMatcher against std::wregex on the translated pattern, on generated cases: the regex
// is the meaning of a wildcard, the matcher must agree with it on every answer.
#include "regex/wildcard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace veltrano {
namespace {

using Spans = std::vector<MatchSpan>;

constexpr std::uint32_t kSeed = 20240611;

std::string Show(std::wstring_view text) {
    std::ostringstream out;
    out << '"';
    for (const wchar_t c : text) {
        if (c == L'\\' || c == L'"') {
            out << '\\' << static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out << static_cast<char>(c);
        } else {
            out << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
        }
    }
    out << '"';
    return out.str();
}

std::string Show(const std::optional<MatchSpan>& span) {
    if (!span) return "none";
    return "{" + std::to_string(span->position) + "," + std::to_string(span->length) + "}";
}

std::string Show(const Spans& spans) {
    std::string out = "[";
    for (const MatchSpan& span : spans) out += Show(std::optional<MatchSpan>(span));
    return out + "]";
}

std::optional<MatchSpan> RegexFind(const std::wregex& re, const std::wstring& text, size_t from) {
    std::wsmatch match;
    const auto flags = from > 0 ? std::regex_constants::match_prev_avail : std::regex_constants::match_default;
    if (!std::regex_search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), match, re, flags)) {
        return std::nullopt;
    }
    return MatchSpan{static_cast<size_t>(match[0].first - text.begin()), static_cast<size_t>(match[0].length())};
}

// The matches std::regex_replace would replace.
Spans RegexAll(const std::wregex& re, const std::wstring& text) {
    Spans spans;
    for (std::wsregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it) {
        spans.push_back({static_cast<size_t>((*it)[0].first - text.begin()), static_cast<size_t>((*it)[0].length())});
    }
    return spans;
}

Spans MatcherAll(const WildcardMatcher& matcher, const std::wstring& text) {
    Spans spans;
    for (auto match = matcher.Find(text); match; match = matcher.FindNext(text, *match)) spans.push_back(*match);
    return spans;
}

// Compares one pattern with the regex on many texts; keeps the first few disagreements.
class Comparison {
public:
    Comparison(const std::wstring& pattern, bool ignoreCase) : pattern_(pattern), ignoreCase_(ignoreCase) {
        const auto flags = std::regex_constants::ECMAScript |
                           (ignoreCase ? std::regex_constants::icase : std::regex_constants::syntax_option_type{});
        std::optional<std::regex_constants::error_type> regexError;
        std::optional<std::regex_constants::error_type> matcherError;
        try {
            regex_.emplace(WildcardToRegex(pattern), flags);
        } catch (const std::regex_error& error) {
            regexError = error.code();
        }
        try {
            matcher_.emplace(pattern, ignoreCase);
        } catch (const std::regex_error& error) {
            matcherError = error.code();
        }
        ++cases;
        if (regexError != matcherError) Report("construction", L"", "regex and matcher disagree on rejecting it");
    }

    bool Usable() const { return regex_ && matcher_; }

    void Check(const std::wstring& text, size_t from) {
        ++cases;
        const auto expected = RegexFind(*regex_, text, 0);
        const auto actual = matcher_->Find(text);
        if (expected != actual) Report("Find", text, "regex " + Show(expected) + " matcher " + Show(actual));

        // Past the end there is nothing to search (the regex would be given an invalid range).
        const auto expectedFrom = from <= text.size() ? RegexFind(*regex_, text, from) : std::nullopt;
        const auto actualFrom = matcher_->Find(text, from);
        if (expectedFrom != actualFrom) {
            Report("Find from " + std::to_string(from), text,
                   "regex " + Show(expectedFrom) + " matcher " + Show(actualFrom));
        }

        const Spans expectedAll = RegexAll(*regex_, text);
        const Spans actualAll = MatcherAll(*matcher_, text);
        if (expectedAll != actualAll) {
            Report("FindNext", text, "regex " + Show(expectedAll) + " matcher " + Show(actualAll));
        }
    }

    static inline int cases = 0;
    static inline int failures = 0;

private:
    void Report(const std::string& what, std::wstring_view text, const std::string& detail) {
        if (++failures > 20) return;
        ADD_FAILURE() << what << ": pattern " << Show(pattern_) << (ignoreCase_ ? " (icase)" : "") << " text "
                      << Show(text) << ": " << detail;
    }

    std::wstring pattern_;
    bool ignoreCase_;
    std::optional<std::wregex> regex_;
    std::optional<WildcardMatcher> matcher_;
};

class Generator {
public:
    explicit Generator(std::uint32_t seed) : engine_(seed) {}

    size_t Below(size_t n) { return static_cast<size_t>(engine_() % n); }
    wchar_t Pick(std::wstring_view from) { return from[Below(from.size())]; }

    std::wstring Pattern() {
        // Mostly letters that differ only in case, plus every wildcard and regex special character.
        static constexpr std::wstring_view kCommon = L"aAbBkK**??\\\\.";
        static constexpr std::wstring_view kRare = L"+()[]{}^$|xé\u00C9\u212A\u0130\u2028\n\r";
        std::wstring pattern;
        const size_t length = Below(9);
        for (size_t i = 0; i < length; ++i) pattern += Below(6) == 0 ? Rare(kRare) : Pick(kCommon);
        return pattern;
    }

    // Random text, or text built to fit the pattern somewhere, so both finding and missing occur.
    std::wstring Text(std::wstring_view pattern) {
        std::wstring text = Noise(Below(6));
        if (Below(3) != 0) {
            bool escaped = false;
            for (const wchar_t c : pattern) {
                if (!escaped && c == L'\\') {
                    escaped = true;
                    continue;
                }
                if (!escaped && c == L'*') {
                    text += Noise(Below(4));
                } else if (!escaped && c == L'?') {
                    text += Pick(kTextChars);
                } else {
                    text += Below(4) == 0 ? Flip(c) : c;
                }
                escaped = false;
            }
        }
        text += Noise(Below(6));
        return text;
    }

private:
    static constexpr std::wstring_view kTextChars =
        L"aAbBkKaAbBxx .*?\\+(\n\r\u2028\u2029\u0085\u00E9\u00C9\u212A\u0130i\xD83D\xDE00";

    wchar_t Rare(std::wstring_view from) {
        // The NUL character is ordinary in ECMAScript; it cannot sit in a wstring_view literal.
        return Below(from.size() + 1) == 0 ? L'\0' : Pick(from);
    }

    std::wstring Noise(size_t length) {
        std::wstring noise;
        for (size_t i = 0; i < length; ++i) noise += Below(20) == 0 ? L'\0' : Pick(kTextChars);
        return noise;
    }

    static wchar_t Flip(wchar_t c) {
        if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
        if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
        return c;
    }

    std::mt19937 engine_;
};

// Every word of `alphabet` up to `maxLength` characters.
std::vector<std::wstring> AllWords(std::wstring_view alphabet, size_t maxLength) {
    std::vector<std::wstring> words{L""};
    for (size_t begin = 0, length = 1; length <= maxLength; ++length) {
        const size_t end = words.size();
        for (size_t i = begin; i < end; ++i) {
            for (const wchar_t c : alphabet) words.push_back(words[i] + c);
        }
        begin = end;
    }
    return words;
}

class WildcardDifferential : public ::testing::Test {
protected:
    void SetUp() override {
        Comparison::cases = 0;
        Comparison::failures = 0;
    }
    void TearDown() override {
        std::cout << "  compared " << Comparison::cases << " cases, " << Comparison::failures << " disagreements\n";
    }
};

TEST_F(WildcardDifferential, AgreesWithTheRegexOnEverySmallPatternAndText) {
    const auto patterns = AllWords(L"aA*?\\.", 4);
    const auto texts = AllWords(std::wstring(L"aA\n.", 4), 4);
    for (const bool ignoreCase : {false, true}) {
        for (const std::wstring& pattern : patterns) {
            Comparison comparison(pattern, ignoreCase);
            if (!comparison.Usable()) continue;
            for (size_t i = 0; i < texts.size(); ++i) comparison.Check(texts[i], i % (texts[i].size() + 1));
        }
    }
    EXPECT_GT(Comparison::cases, 900000);
}

TEST_F(WildcardDifferential, AgreesWithTheRegexOnGeneratedPatternsAndTexts) {
    Generator generate(kSeed);
    for (int round = 0; round < 4000; ++round) {
        const std::wstring pattern = generate.Pattern();
        for (const bool ignoreCase : {false, true}) {
            Comparison comparison(pattern, ignoreCase);
            if (!comparison.Usable()) continue;
            for (int t = 0; t < 6; ++t) {
                const std::wstring text = generate.Text(pattern);
                comparison.Check(text, generate.Below(text.size() + 2));
            }
        }
    }
    EXPECT_GT(Comparison::cases, 40000);
}

TEST_F(WildcardDifferential, AgreesWithTheRegexOnLongRunsAndManyStars) {
    Generator generate(kSeed + 1);
    for (int round = 0; round < 300; ++round) {
        std::wstring pattern;
        for (size_t i = 0, n = 1 + generate.Below(12); i < n; ++i) pattern += generate.Pick(L"ab**?");
        for (const bool ignoreCase : {false, true}) {
            Comparison comparison(pattern, ignoreCase);
            for (int t = 0; t < 4; ++t) {
                std::wstring text;
                for (size_t i = 0, n = generate.Below(80); i < n; ++i) text += generate.Pick(L"aaabbbAB\n");
                comparison.Check(text, generate.Below(text.size() + 1));
            }
        }
    }
}

}  // namespace
}  // namespace veltrano
