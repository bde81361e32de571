#pragma once
// An ECMAScript pattern, as std::wregex accepts it, read into an automaton for its reversal:
// the automaton that recognises the pattern's matches read from right to left. Only patterns
// that describe a plain regular language are read; one with a back-reference, a lookahead, a
// POSIX bracket expression or anything else unusual gives none (the bounded matcher handles it).
// Atoms stay pattern text, so their characters are decided by std::wregex itself.
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
};

struct ReversedAutomaton {
    std::vector<std::wstring> atoms;  // one character each, as pattern text: "x", ".", "\\d", "[^a-z]"
    std::vector<AutomatonState> states;
    int start = -1;
};

// Patterns that would expand into more states than this are left to the bounded matcher.
inline constexpr size_t kMaxAutomatonStates = 20000;

std::optional<ReversedAutomaton> ReadReversedAutomaton(std::wstring_view pattern);

}  // namespace veltrano
