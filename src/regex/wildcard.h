#pragma once
// Wildcard keywords: '*' any run, '?' any one character, '\' makes the next character literal.
// Their meaning is the std::wregex (ECMAScript) translation below; WildcardMatcher gives the
// same answers in O(text length x pattern length) time with constant stack.
#include <array>
#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/match_span.h"

namespace veltrano {

// The regex a wildcard pattern stands for (not anchored). A pattern ending in a lone '\'
// becomes a regex ending in a lone '\', which std::wregex rejects.
std::wstring WildcardToRegex(std::wstring_view pattern);

// One parsed element of a wildcard pattern.
struct WildcardToken {
    enum class Kind : unsigned char { Literal, AnyChar, AnyRun };
    Kind kind;
    wchar_t ch;  // Literal only
};

class WildcardMatcher {
public:
    // Throws std::regex_error(error_escape) where compiling the translation would.
    WildcardMatcher(std::wstring_view pattern, bool ignoreCase);

    // The first match in text[from..]: what std::regex_search gives for the translation over
    // [text.begin() + from, text.end()) (prefix flags cannot matter: the translation has no anchors).
    std::optional<MatchSpan> Find(std::wstring_view text, size_t from = 0) const;

    // The match std::regex_iterator (and so std::regex_replace) visits after `previous`,
    // including its step past an empty match: a replace-all loop is Find, then FindNext until
    // nothing is left. Each call costs O(scanned characters x pattern length).
    std::optional<MatchSpan> FindNext(std::wstring_view text, MatchSpan previous) const;

private:
    wchar_t Fold(wchar_t c) const { return ignoreCase_ ? ctype_->tolower(c) : c; }

    std::vector<WildcardToken> elements_;  // literals already folded when ignoring case
    bool ignoreCase_;
    // The regex folds through the global locale's ctype facet as it was at construction.
    std::locale locale_;
    const std::ctype<wchar_t>* ctype_;
    std::array<wchar_t, 4> lineTerminators_;  // folded like the text: ECMAScript '.' never matches them
};

}  // namespace veltrano
