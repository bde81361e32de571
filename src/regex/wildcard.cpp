#include "regex/wildcard.h"

#include <algorithm>
#include <cstdint>
#include <regex>

namespace veltrano {
namespace {

using Kind = WildcardToken::Kind;

constexpr std::wstring_view kRegexSpecial = L"\\.^$|()[]{}+?";

struct ParsedWildcard {
    std::vector<WildcardToken> tokens;
    bool danglingEscape = false;
};

// The one reading of wildcard syntax, shared by the translation and the matcher.
ParsedWildcard ParseWildcard(std::wstring_view pattern) {
    ParsedWildcard parsed;
    bool escaped = false;
    for (const wchar_t c : pattern) {
        if (escaped) {
            parsed.tokens.push_back({Kind::Literal, c});
            escaped = false;
        } else if (c == L'\\') {
            escaped = true;
        } else if (c == L'*') {
            parsed.tokens.push_back({Kind::AnyRun, 0});
        } else if (c == L'?') {
            parsed.tokens.push_back({Kind::AnyChar, 0});
        } else {
            parsed.tokens.push_back({Kind::Literal, c});
        }
    }
    parsed.danglingEscape = escaped;
    return parsed;
}

// A thread list of the simulation: at most one thread per pattern state, in priority order
// (the order a backtracking matcher would try them). Stamps avoid clearing between steps.
struct ThreadList {
    size_t* order;  // states, highest priority first
    size_t count;
    size_t* start;  // per state: where that thread's match began
    size_t* stamp;  // per state: step + 1 while the state is on the list
};

}  // namespace

std::wstring WildcardToRegex(std::wstring_view pattern) {
    const ParsedWildcard parsed = ParseWildcard(pattern);
    std::wstring regex;
    regex.reserve(pattern.size() * 2 + 1);
    for (const WildcardToken& token : parsed.tokens) {
        switch (token.kind) {
        case Kind::AnyRun:
            regex += L".*";
            break;
        case Kind::AnyChar:
            regex += L'.';
            break;
        case Kind::Literal:
            if (token.ch == L'*' || kRegexSpecial.find(token.ch) != std::wstring_view::npos) regex += L'\\';
            regex += token.ch;
            break;
        }
    }
    if (parsed.danglingEscape) regex += L'\\';
    return regex;
}

WildcardMatcher::WildcardMatcher(std::wstring_view pattern, bool ignoreCase)
    : ignoreCase_(ignoreCase), ctype_(&std::use_facet<std::ctype<wchar_t>>(locale_)) {
    ParsedWildcard parsed = ParseWildcard(pattern);
    if (parsed.danglingEscape) throw std::regex_error(std::regex_constants::error_escape);
    elements_ = std::move(parsed.tokens);
    for (WildcardToken& element : elements_) {
        if (element.kind == Kind::Literal) element.ch = Fold(element.ch);
    }
    lineTerminators_ = {Fold(L'\n'), Fold(L'\r'), Fold(L'\u2028'), Fold(L'\u2029')};
}

std::optional<MatchSpan> WildcardMatcher::FindNext(std::wstring_view text, MatchSpan previous) const {
    if (previous.length != 0) return Find(text, previous.End());
    // After an empty match std::regex_iterator first tries a non-empty match at the same place.
    // For a wildcard there is none: only a pattern of stars matches empty, and it does so at p
    // only where text[p] is a line end (or p is the end), which no star can take.
    if (previous.position >= text.size()) return std::nullopt;
    return Find(text, previous.position + 1);
}

// A Pike-style simulation of the backtracking search: every live thread advances one character
// per step, and the list order is the backtracking order (a star's "take one more" before its
// "stop here"; earlier starts before later ones). The first thread to accept in that order wins
// and cuts everything after it, which is exactly the match backtracking would have found first.
std::optional<MatchSpan> WildcardMatcher::Find(std::wstring_view text, size_t from) const {
    if (from > text.size()) return std::nullopt;
    const size_t accept = elements_.size();
    const size_t states = accept + 1;
    // One allocation per search: FindNext loops call this once per match.
    std::vector<size_t> storage(6 * states, 0);
    ThreadList current{storage.data(), 0, storage.data() + states, storage.data() + 2 * states};
    ThreadList next{storage.data() + 3 * states, 0, storage.data() + 4 * states, storage.data() + 5 * states};

    // Adds `state` and what it reaches without consuming: a star offers to loop first, then moves on.
    // A state already listed came with higher priority, and so did everything it reaches.
    const auto add = [&](ThreadList& list, size_t step, size_t state, size_t start) {
        while (list.stamp[state] != step + 1) {
            list.stamp[state] = step + 1;
            list.start[state] = start;
            list.order[list.count++] = state;
            if (state == accept || elements_[state].kind != Kind::AnyRun) return;
            ++state;
        }
    };

    // Nothing but a fresh start can be alive, and the pattern opens with a literal: jump to it.
    const bool canSkip = !ignoreCase_ && !elements_.empty() && elements_[0].kind == Kind::Literal;

    std::optional<MatchSpan> found;
    for (size_t i = from;; ++i) {
        if (!found) {
            if (canSkip && current.count == 0) {
                const size_t hit = text.find(elements_[0].ch, i);
                if (hit == std::wstring_view::npos) return std::nullopt;
                i = hit;
            }
            add(current, i, 0, i);
        }
        if (current.count == 0) break;

        const bool atEnd = i == text.size();
        const wchar_t c = atEnd ? 0 : Fold(text[i]);
        const bool terminator = !atEnd && std::find(lineTerminators_.begin(), lineTerminators_.end(), c) !=
                                              lineTerminators_.end();
        for (size_t n = 0; n < current.count; ++n) {
            const size_t state = current.order[n];
            const size_t start = current.start[state];
            if (state == accept) {
                found = MatchSpan{start, i - start};
                break;  // lower-priority threads can no longer win
            }
            if (atEnd) continue;
            const WildcardToken& element = elements_[state];
            switch (element.kind) {
            case Kind::Literal:
                if (c == element.ch) add(next, i + 1, state + 1, start);
                break;
            case Kind::AnyChar:
                if (!terminator) add(next, i + 1, state + 1, start);
                break;
            case Kind::AnyRun:
                if (!terminator) add(next, i + 1, state, start);
                break;
            }
        }
        if (atEnd) break;
        std::swap(current, next);
        next.count = 0;
    }
    return found;
}

}  // namespace veltrano
