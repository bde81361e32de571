#pragma once
// An ECMAScript pattern, as std::wregex accepts it, read into an automaton for its reversal:
// the automaton that recognises the pattern's matches read from right to left. A back-reference
// is read as its group or nothing, a lookahead as nothing: the automaton then recognises more
// than the pattern (it is relaxed), never less. A POSIX bracket item, "\0" or anything else
// unusual gives none (the bounded matcher handles it alone). Atoms stay pattern text, so their
// characters are decided by std::wregex itself.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano {

enum class Assertion : unsigned char { TextStart, TextEnd, WordBoundary, NotWordBoundary };

struct AutomatonState {
    enum class Op : unsigned char { Atom, Split, Assert, Match };
    Op op = Op::Match;
    Assertion assertion = Assertion::TextStart;  // Assert only
    int atom = -1;                               // Atom only: an index into the atoms
    int next = -1;                               // Atom, Split, Assert
    int alternative = -1;                        // Split only
    int pattern = 0;                             // Match only: which of the combined patterns matched
};

// One character of the pattern as pattern text ("x", ".", "\\d", "[^a-z]"), to be decided by
// std::wregex with the pattern's case rule.
struct AutomatonAtom {
    std::wstring text;
    bool ignoreCase = false;
};

struct ReversedAutomaton {
    std::vector<AutomatonAtom> atoms;
    std::vector<AutomatonState> states;
    int start = -1;
    bool exact = true;  // false: relaxed, where a match may begin but need not
};

// Patterns that would expand into more states than this are left to the bounded matcher.
inline constexpr size_t kMaxAutomatonStates = 20000;

std::optional<ReversedAutomaton> ReadReversedAutomaton(std::wstring_view pattern, bool ignoreCase);

// One automaton that reads the matches of all parts (at least one): its match states name the
// part (its index in `parts`).
ReversedAutomaton CombineReversedAutomata(const std::vector<const ReversedAutomaton*>& parts);

}  // namespace veltrano
