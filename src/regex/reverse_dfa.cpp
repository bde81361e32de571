#include "regex/reverse_dfa.h"

#include <algorithm>

#include "regex/bounded_match.h"

namespace veltrano {
namespace {

constexpr uint16_t kUnknownClass = 0xFFFF;
constexpr uint32_t kUnknownTransition = UINT32_MAX;
constexpr int kStateShift = 16;
constexpr uint32_t kPatternSetMask = 0xFFFF;
// The cache: beyond these it starts afresh, so a pathological automaton costs the work of an
// NFA simulation (bounded by text length x states), never more memory.
constexpr size_t kMaxDfaStates = 2048;
constexpr size_t kMaxTransitionEntries = 1u << 20;
constexpr size_t kMaxPatternSets = 4096;
// Transitions computed (each up to the automaton's size) between two looks at the clock.
constexpr uint32_t kFirstStepsPerClockRead = 1024;
// Characters classified, weighted by the atoms that ask std::wregex, between two looks at the clock.
constexpr size_t kClassifyWorkPerClockRead = 4096;

std::regex_traits<wchar_t>::char_class_type WordClass(const std::regex_traits<wchar_t>& traits) {
    static constexpr wchar_t kWord[] = L"w";
    return traits.lookup_classname(kWord, kWord + 1);
}

}  // namespace

// What the assertions at one position see.
struct ReverseDfa::Context {
    bool atTextStart;
    bool atTextEnd;
    bool leftWord;   // the character before the position is a word character
    bool rightWord;  // the character after it is

    bool Holds(Assertion assertion) const {
        switch (assertion) {
            case Assertion::TextStart: return atTextStart;
            case Assertion::TextEnd: return atTextEnd;
            case Assertion::WordBoundary: return leftWord != rightWord;
            case Assertion::NotWordBoundary: return leftWord == rightWord;
        }
        return false;
    }
};

// One character of the pattern. A plain literal is compared as the regex compares it (folded
// through the locale's ctype when ignoring case), the common classes and brackets as sets of
// code units; anything else asks std::wregex.
struct ReverseDfa::Atom {
    enum class Kind : unsigned char { Exact, Folded, Set, Regex };
    Kind kind = Kind::Exact;
    wchar_t literal = 0;
    std::optional<AtomCharSet> set;
    std::wregex regex;

    Atom(const AutomatonAtom& atom, const AtomCharSet::Traits& traits) {
        if (atom.text.size() == 1 && atom.text != L".") {
            kind = atom.ignoreCase ? Kind::Folded : Kind::Exact;
            literal = atom.text[0];
            return;
        }
        set = AtomCharSet::Read(atom.text, atom.ignoreCase, traits);
        if (set) {
            kind = Kind::Set;
            return;
        }
        auto flags = std::regex_constants::ECMAScript;
        if (atom.ignoreCase) flags |= std::regex_constants::icase;
        kind = Kind::Regex;
        regex = std::wregex(atom.text, flags);
    }

    bool Contains(wchar_t c, const std::ctype<wchar_t>& ctype, const AtomCharSet::Traits& traits) const {
        switch (kind) {
            case Kind::Exact: return c == literal;
            case Kind::Folded: return ctype.tolower(c) == ctype.tolower(literal);
            case Kind::Set: return set->Contains(c, traits);
            case Kind::Regex: return std::regex_match(&c, &c + 1, regex);
        }
        return false;
    }
};

size_t ReverseDfa::StateHash::operator()(const State& state) const noexcept {
    size_t hash = state.atTextEnd * 2u + state.rightWord;
    for (const int id : state.core) hash = hash * 1000003u ^ static_cast<size_t>(id);
    return hash;
}

ReverseDfa::ReverseDfa(const ReversedAutomaton& automaton)
    : automaton_(automaton),
      ctype_(&std::use_facet<std::ctype<wchar_t>>(locale_)),
      wordClass_(WordClass(traits_)),
      patternSets_(1),
      marks_(automaton.states.size(), 0) {
    for (const AutomatonAtom& atom : automaton.atoms) {
        atoms_.push_back(std::make_unique<Atom>(atom, traits_));
        regexAtoms_ += atoms_.back()->kind == Atom::Kind::Regex;
    }
}

ReverseDfa::~ReverseDfa() = default;

void ReverseDfa::ScanBackwards(std::wstring_view text, size_t from, std::chrono::steady_clock::time_point deadline,
                               const Report& report) {
    deadline_ = deadline;
    int state = Intern({{}, true, false});
    for (size_t position = text.size(); position > from; --position) {
        const uint32_t step = Step(state, ClassOf(text[position - 1]));
        if (step & kPatternSetMask) [[unlikely]] report(position, patternSets_[step & kPatternSetMask]);
        state = static_cast<int>(step >> kStateShift);
    }
    const uint16_t patterns = from > 0 ? Step(state, ClassOf(text[from - 1])) & kPatternSetMask
                                       : PatternsAtTextStart(state);
    if (patterns) report(from, patternSets_[patterns]);
}

uint16_t ReverseDfa::ClassOf(wchar_t c) {
    const std::array<uint16_t, 256>* page = classPages_[static_cast<uint16_t>(c) >> 8].get();
    if (page) [[likely]] {
        const uint16_t known = (*page)[static_cast<uint16_t>(c) & 0xFF];
        if (known != kUnknownClass) [[likely]] return known;
    }
    return FirstClassOf(c);
}

[[gnu::noinline]] uint16_t ReverseDfa::FirstClassOf(wchar_t c) {
    std::unique_ptr<std::array<uint16_t, 256>>& page = classPages_[static_cast<uint16_t>(c) >> 8];
    if (!page) {
        page = std::make_unique<std::array<uint16_t, 256>>();
        page->fill(kUnknownClass);
    }
    uint16_t& known = (*page)[static_cast<uint16_t>(c) & 0xFF];
    if (known == kUnknownClass) known = Classify(c);
    return known;
}

// Characters that no atom and no assertion can tell apart share a class. Atoms that ask
// std::wregex cost about a microsecond each, so a text of many distinct characters can spend the
// search's time here: that work counts against the deadline too.
uint16_t ReverseDfa::Classify(wchar_t c) {
    classifyWork_ += 1 + regexAtoms_;
    if (classifyWork_ >= kClassifyWorkPerClockRead) {
        classifyWork_ = 0;
        if (std::chrono::steady_clock::now() >= deadline_) throw MatchAborted(MatchAborted::Reason::PatternTooSlow);
    }
    std::vector<bool> signature(atoms_.size() + 1);
    for (size_t i = 0; i < atoms_.size(); ++i) signature[i] = atoms_[i]->Contains(c, *ctype_, traits_);
    signature.back() = traits_.isctype(c, wordClass_);
    const auto [found, added] = classIndex_.try_emplace(signature, static_cast<uint16_t>(classMembers_.size()));
    if (added) {
        classMembers_.push_back(signature);
        if (classMembers_.size() > classStride_) WidenTransitions();
    }
    return found->second;
}

void ReverseDfa::WidenTransitions() {
    const size_t stride = classStride_ * 2;
    std::vector<uint32_t> widened(states_.size() * stride, kUnknownTransition);
    for (size_t state = 0; state < states_.size(); ++state) {
        std::copy_n(transitions_.begin() + static_cast<std::ptrdiff_t>(state * classStride_), classStride_,
                    widened.begin() + static_cast<std::ptrdiff_t>(state * stride));
    }
    transitions_ = std::move(widened);
    classStride_ = stride;
}

void ReverseDfa::ClearCache() {
    states_.clear();
    index_.clear();
    transitions_.clear();
    ++restarts_;
}

int ReverseDfa::Intern(State state) {
    if (const auto found = index_.find(state); found != index_.end()) return found->second;
    if (states_.size() >= kMaxDfaStates || (states_.size() + 1) * classStride_ > kMaxTransitionEntries) ClearCache();
    const int id = static_cast<int>(states_.size());
    states_.push_back(state);
    index_.emplace(std::move(state), id);
    transitions_.resize(states_.size() * classStride_, kUnknownTransition);
    return id;
}

// The set of patterns Closure found matching, as its index (0: none).
uint16_t ReverseDfa::InternPatterns() {
    if (matched_.empty()) return 0;
    std::sort(matched_.begin(), matched_.end());
    matched_.erase(std::unique(matched_.begin(), matched_.end()), matched_.end());
    if (const auto found = patternSetIndex_.find(matched_); found != patternSetIndex_.end()) return found->second;
    if (patternSets_.size() >= kMaxPatternSets) {
        // Transitions name sets by index: they go with them.
        ClearCache();
        patternSets_.resize(1);
        patternSetIndex_.clear();
    }
    const auto id = static_cast<uint16_t>(patternSets_.size());
    patternSets_.push_back(matched_);
    patternSetIndex_.emplace(matched_, id);
    return id;
}

// (next state << 16) | the set of patterns whose anchored match begins before `cls`'s character.
uint32_t ReverseDfa::Step(int state, uint16_t cls) {
    const uint32_t known = transitions_[static_cast<size_t>(state) * classStride_ + cls];
    if (known != kUnknownTransition) [[likely]] return known;
    return FirstStep(state, cls);
}

[[gnu::noinline]] uint32_t ReverseDfa::FirstStep(int state, uint16_t cls) {
    if ((++firstSteps_ & (kFirstStepsPerClockRead - 1)) == 0 && std::chrono::steady_clock::now() >= deadline_) {
        throw MatchAborted(MatchAborted::Reason::PatternTooSlow);
    }
    const size_t slot = static_cast<size_t>(state) * classStride_ + cls;
    const std::vector<bool>& members = classMembers_[cls];
    const bool word = members.back();
    {
        const State& from = states_[static_cast<size_t>(state)];
        Closure(from.core, {false, from.atTextEnd, word, from.rightWord});
    }
    std::vector<int> core;
    for (const int atomState : atomStates_) {
        const AutomatonState& s = automaton_.states[static_cast<size_t>(atomState)];
        if (members[static_cast<size_t>(s.atom)]) core.push_back(s.next);
    }
    std::sort(core.begin(), core.end());
    core.erase(std::unique(core.begin(), core.end()), core.end());

    const size_t restartsBefore = restarts_;
    const uint16_t patterns = InternPatterns();
    const int next = Intern({std::move(core), false, word});
    const uint32_t packed = (static_cast<uint32_t>(next) << kStateShift) | patterns;
    // A cache started afresh no longer has `state`.
    if (restarts_ == restartsBefore) transitions_[slot] = packed;
    return packed;
}

uint16_t ReverseDfa::PatternsAtTextStart(int state) {
    const State& here = states_[static_cast<size_t>(state)];
    Closure(here.core, {true, here.atTextEnd, false, here.rightWord});
    return InternPatterns();
}

// Follows every empty step from the core and from the automaton's start (a match may end at any
// position); collects the atom states and the patterns of the match states reached.
void ReverseDfa::Closure(const std::vector<int>& core, const Context& context) {
    if (++generation_ == 0) {
        std::fill(marks_.begin(), marks_.end(), 0);
        generation_ = 1;
    }
    atomStates_.clear();
    matched_.clear();
    pending_.assign(core.begin(), core.end());
    pending_.push_back(automaton_.start);
    while (!pending_.empty()) {
        const int id = pending_.back();
        pending_.pop_back();
        if (marks_[static_cast<size_t>(id)] == generation_) continue;
        marks_[static_cast<size_t>(id)] = generation_;
        const AutomatonState& s = automaton_.states[static_cast<size_t>(id)];
        switch (s.op) {
            case AutomatonState::Op::Atom: atomStates_.push_back(id); break;
            case AutomatonState::Op::Match: matched_.push_back(s.pattern); break;
            case AutomatonState::Op::Split:
                pending_.push_back(s.alternative);
                pending_.push_back(s.next);
                break;
            case AutomatonState::Op::Assert:
                if (context.Holds(s.assertion)) pending_.push_back(s.next);
                break;
        }
    }
}

}  // namespace veltrano
