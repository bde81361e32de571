#pragma once
// Where a user's regular expression can match, in time linear in the text: a lazily built DFA
// of the pattern's reversal (reverse_dfa.h) scans the text once from its end and marks every
// position at which an anchored match begins. The match itself is then std::wregex's own,
// anchored there (see MatchStartFinder in bounded_match.h), so its priorities are never
// re-implemented.
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "regex/bounded_match.h"
#include "regex/reverse_dfa.h"
#include "regex/reversed_automaton.h"

namespace veltrano {

class LinearRegex {
public:
    // None where the pattern is outside what it reads (see reversed_automaton.h). The pattern
    // must already have compiled as a std::wregex with the same flags.
    static std::shared_ptr<const LinearRegex> Create(std::wstring_view pattern, bool ignoreCase);

    // False for a pattern with back-references or lookaheads: the positions found are where a
    // match may begin, a superset of where one does.
    bool Exact() const noexcept { return automaton_.exact; }
    const ReversedAutomaton& Automaton() const noexcept { return automaton_; }

    // A scan stops with MatchAborted only when its automaton keeps overflowing the DFA's cache
    // and the budget's deadline passes (see ReverseDfa::ScanBackwards).

    // The first position at or after `from` where an anchored match begins; the text before
    // `from` is the context of "\b" (as std::regex_search with match_prev_avail sees it).
    std::optional<size_t> FirstStart(std::wstring_view text, size_t from = 0,
                                     const MatchBudget& budget = MatchBudget(std::chrono::hours(24))) const;
    // Every position where an anchored match begins (position 0 without context before it).
    std::vector<bool> Starts(std::wstring_view text,
                             const MatchBudget& budget = MatchBudget(std::chrono::hours(24))) const;

    // The finders refer to `text`, `budget` and this regex. For one search: one scan for an
    // exact pattern, all positions otherwise (a relaxed pattern is asked again past each miss).
    MatchStartFinder SearchFinder(std::wstring_view text, const MatchBudget& budget) const;
    // For a walk over all matches (a replacement): the text is scanned once, at the first question.
    MatchStartFinder StartFinder(std::wstring_view text, const MatchBudget& budget) const;

    explicit LinearRegex(ReversedAutomaton automaton);

private:
    ReversedAutomaton automaton_;
    std::unique_ptr<ReverseDfa> dfa_;  // grows while scanning: one scan at a time
    mutable std::mutex scanning_;
};

// Several exact linear regexes scanned together: one backward pass over the text gives where
// the first match of each begins.
class LinearRegexSet {
public:
    explicit LinearRegexSet(const std::vector<const LinearRegex*>& members);

    size_t Size() const noexcept { return size_; }
    // Per member (in the order given): where its first anchored match begins, if anywhere.
    std::vector<std::optional<size_t>> FirstStarts(std::wstring_view text, const MatchBudget& budget) const;

private:
    size_t size_;
    ReversedAutomaton automaton_;
    std::unique_ptr<ReverseDfa> dfa_;
    mutable std::mutex scanning_;
};

}  // namespace veltrano
