#pragma once
// A lazily built DFA of a reversed automaton: one backward scan over the text reports every
// position at which an anchored match of the automaton's pattern(s) begins. Characters are
// classified by the same rules std::wregex applies: each atom of the pattern is read as a set of
// code units or asked through std::wregex, word characters through the same regex traits. Not
// thread-safe: the DFA grows while it scans.
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <locale>
#include <map>
#include <memory>
#include <regex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "regex/atom_char_set.h"
#include "regex/reversed_automaton.h"

namespace veltrano {

class ReverseDfa {
public:
    // `automaton` must outlive the DFA.
    explicit ReverseDfa(const ReversedAutomaton& automaton);
    ~ReverseDfa();

    // The patterns (AutomatonState::pattern) whose anchored match begins at `position`, sorted.
    using Report = std::function<void(size_t position, const std::vector<int>& patterns)>;

    // Calls report for each position in [from, text.size()], from the end, at which some anchored
    // match begins; the text before `from` is the context of "\b". A scan is linear in the text,
    // but for an automaton that keeps overflowing the cache each character costs up to the
    // automaton's size: such a scan throws MatchAborted once `deadline` has passed (a scan that
    // fits the cache never looks at the clock).
    void ScanBackwards(std::wstring_view text, size_t from, std::chrono::steady_clock::time_point deadline,
                       const Report& report);

private:
    struct Atom;
    struct State {
        std::vector<int> core;  // automaton states reached, before the assertions of this position
        bool atTextEnd;
        bool rightWord;
        bool operator==(const State&) const = default;
    };
    struct StateHash {
        size_t operator()(const State& state) const noexcept;
    };
    struct Context;

    uint16_t ClassOf(wchar_t c);
    uint16_t FirstClassOf(wchar_t c);
    uint16_t Classify(wchar_t c);
    void WidenTransitions();
    void ClearCache();
    int Intern(State state);
    uint16_t InternPatterns();
    uint32_t Step(int state, uint16_t cls);
    uint32_t FirstStep(int state, uint16_t cls);
    uint16_t PatternsAtTextStart(int state);
    void Closure(const std::vector<int>& core, const Context& context);

    const ReversedAutomaton& automaton_;
    std::vector<std::unique_ptr<Atom>> atoms_;
    size_t regexAtoms_ = 0;    // atoms decided by std::wregex
    size_t classifyWork_ = 0;  // since the clock was last read
    // The regex reads characters through the global locale as it was when it was compiled.
    std::locale locale_;
    const std::ctype<wchar_t>* ctype_;
    std::regex_traits<wchar_t> traits_;
    std::regex_traits<wchar_t>::char_class_type wordClass_;

    std::array<std::unique_ptr<std::array<uint16_t, 256>>, 256> classPages_{};
    std::unordered_map<std::vector<bool>, uint16_t> classIndex_;
    std::vector<std::vector<bool>> classMembers_;  // per class: each atom's answer, then "word character"

    std::vector<State> states_;
    std::unordered_map<State, int, StateHash> index_;
    size_t classStride_ = 16;
    std::vector<uint32_t> transitions_;  // (next state << 16) | pattern set, per state and class
    std::vector<std::vector<int>> patternSets_;  // [0] is the empty set
    std::map<std::vector<int>, uint16_t> patternSetIndex_;
    size_t restarts_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    uint32_t firstSteps_ = 0;

    // Closure's work space.
    std::vector<uint32_t> marks_;
    uint32_t generation_ = 0;
    std::vector<int> pending_;
    std::vector<int> atomStates_;
    std::vector<int> matched_;
};

}  // namespace veltrano
