#include "matching/linear_regex.h"

#include <algorithm>
#include <chrono>
#include <functional>

namespace veltrano {
namespace {

constexpr uint16_t kUnknownClass = 0xFFFF;
constexpr int32_t kUnknownTransition = -1;
// The DFA's cache: beyond these it starts afresh, so a pathological pattern costs the work of
// an NFA simulation (bounded by text length x states), never more memory.
constexpr size_t kMaxDfaStates = 2048;
constexpr size_t kMaxTransitionEntries = 1u << 20;
// Transitions computed (each up to the automaton's size) between two looks at the clock.
constexpr uint32_t kFirstStepsPerClockRead = 1024;

// What the assertions at one position see.
struct Context {
    bool atTextStart;
    bool atTextEnd;
    bool leftWord;   // the character before the position is a word character
    bool rightWord;  // the character after it is
};

bool Holds(Assertion assertion, const Context& context) {
    switch (assertion) {
        case Assertion::TextStart: return context.atTextStart;
        case Assertion::TextEnd: return context.atTextEnd;
        case Assertion::WordBoundary: return context.leftWord != context.rightWord;
        case Assertion::NotWordBoundary: return context.leftWord == context.rightWord;
    }
    return false;
}

}  // namespace

// One character of the pattern. A plain literal is compared as the regex compares it (folded
// through the locale's ctype when ignoring case); anything else asks std::wregex.
struct LinearRegex::Atom {
    enum class Kind : unsigned char { Exact, Folded, Regex };
    Kind kind;
    wchar_t literal = 0;
    std::wregex regex;

    bool Contains(wchar_t c, const std::ctype<wchar_t>& ctype) const {
        switch (kind) {
            case Kind::Exact: return c == literal;
            case Kind::Folded: return ctype.tolower(c) == ctype.tolower(literal);
            case Kind::Regex: return std::regex_match(&c, &c + 1, regex);
        }
        return false;
    }
};

class LinearRegex::Dfa {
public:
    Dfa(const ReversedAutomaton& automaton, const std::vector<std::unique_ptr<Atom>>& atoms)
        : automaton_(automaton),
          atoms_(atoms),
          ctype_(&std::use_facet<std::ctype<wchar_t>>(locale_)),
          wordClass_(WordClass(traits_)),
          marks_(automaton.states.size(), 0) {}

    // Calls report(p) for each position p in [from, text.size()], from the end, at which an
    // anchored match begins.
    void ScanBackwards(std::wstring_view text, size_t from, std::chrono::steady_clock::time_point deadline,
                       const std::function<void(size_t)>& report) {
        deadline_ = deadline;
        int state = Intern({}, true, false);
        for (size_t position = text.size(); position > from; --position) {
            const int32_t step = Step(state, ClassOf(text[position - 1]));
            if (step & 1) [[unlikely]] report(position);
            state = step >> 1;
        }
        if (from > 0) {
            if (Step(state, ClassOf(text[from - 1])) & 1) report(from);
        } else if (MatchesAtTextStart(state)) {
            report(0);
        }
    }

private:
    struct State {
        std::vector<int> core;  // automaton states reached, before the assertions of this position
        bool atTextEnd;
        bool rightWord;
    };
    struct Key {
        std::vector<int> core;
        bool atTextEnd;
        bool rightWord;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const noexcept {
            size_t hash = key.atTextEnd * 2u + key.rightWord;
            for (const int state : key.core) hash = hash * 1000003u ^ static_cast<size_t>(state);
            return hash;
        }
    };

    static std::regex_traits<wchar_t>::char_class_type WordClass(const std::regex_traits<wchar_t>& traits) {
        static constexpr wchar_t kWord[] = L"w";
        return traits.lookup_classname(kWord, kWord + 1);
    }

    uint16_t ClassOf(wchar_t c) {
        const std::array<uint16_t, 256>* page = classPages_[static_cast<uint16_t>(c) >> 8].get();
        if (page) [[likely]] {
            const uint16_t known = (*page)[static_cast<uint16_t>(c) & 0xFF];
            if (known != kUnknownClass) [[likely]] return known;
        }
        return FirstClassOf(c);
    }

    [[gnu::noinline]] uint16_t FirstClassOf(wchar_t c) {
        std::unique_ptr<std::array<uint16_t, 256>>& page = classPages_[static_cast<uint16_t>(c) >> 8];
        if (!page) {
            page = std::make_unique<std::array<uint16_t, 256>>();
            page->fill(kUnknownClass);
        }
        uint16_t& known = (*page)[static_cast<uint16_t>(c) & 0xFF];
        if (known == kUnknownClass) known = Classify(c);
        return known;
    }

    // Characters that no atom and no assertion can tell apart share a class.
    uint16_t Classify(wchar_t c) {
        std::vector<bool> signature(atoms_.size() + 1);
        for (size_t i = 0; i < atoms_.size(); ++i) signature[i] = atoms_[i]->Contains(c, *ctype_);
        signature.back() = traits_.isctype(c, wordClass_);
        const auto [found, added] = classIndex_.try_emplace(signature, static_cast<uint16_t>(classMembers_.size()));
        if (added) {
            classMembers_.push_back(signature);
            if (classMembers_.size() > classStride_) WidenTransitions();
        }
        return found->second;
    }

    void WidenTransitions() {
        const size_t stride = classStride_ * 2;
        std::vector<int32_t> widened(states_.size() * stride, kUnknownTransition);
        for (size_t state = 0; state < states_.size(); ++state) {
            std::copy_n(transitions_.begin() + static_cast<std::ptrdiff_t>(state * classStride_), classStride_,
                        widened.begin() + static_cast<std::ptrdiff_t>(state * stride));
        }
        transitions_ = std::move(widened);
        classStride_ = stride;
    }

    int Intern(std::vector<int> core, bool atTextEnd, bool rightWord) {
        Key key{std::move(core), atTextEnd, rightWord};
        if (const auto found = index_.find(key); found != index_.end()) return found->second;
        if (states_.size() >= kMaxDfaStates || (states_.size() + 1) * classStride_ > kMaxTransitionEntries) {
            states_.clear();
            index_.clear();
            transitions_.clear();
            ++restarts_;
        }
        const int id = static_cast<int>(states_.size());
        states_.push_back({key.core, atTextEnd, rightWord});
        index_.emplace(std::move(key), id);
        transitions_.resize(states_.size() * classStride_, kUnknownTransition);
        return id;
    }

    // (next state << 1) | whether an anchored match begins at the position before `cls`'s character.
    int32_t Step(int state, uint16_t cls) {
        const int32_t known = transitions_[static_cast<size_t>(state) * classStride_ + cls];
        if (known != kUnknownTransition) [[likely]] return known;
        return FirstStep(state, cls);
    }

    [[gnu::noinline]] int32_t FirstStep(int state, uint16_t cls) {
        if ((++firstSteps_ & (kFirstStepsPerClockRead - 1)) == 0 && std::chrono::steady_clock::now() >= deadline_) {
            throw MatchAborted(MatchAborted::Reason::PatternTooSlow);
        }
        const size_t slot = static_cast<size_t>(state) * classStride_ + cls;
        const State& from = states_[static_cast<size_t>(state)];
        const std::vector<bool>& members = classMembers_[cls];
        const bool word = members.back();
        atomStates_.clear();
        const bool match = Closure(from.core, {false, from.atTextEnd, word, from.rightWord});
        std::vector<int> core;
        for (const int atomState : atomStates_) {
            const AutomatonState& s = automaton_.states[static_cast<size_t>(atomState)];
            if (members[static_cast<size_t>(s.atom)]) core.push_back(s.next);
        }
        std::sort(core.begin(), core.end());
        core.erase(std::unique(core.begin(), core.end()), core.end());

        const size_t restartsBefore = restarts_;
        const int next = Intern(std::move(core), false, word);
        const int32_t packed = (next << 1) | (match ? 1 : 0);
        // A cache started afresh no longer has `state`.
        if (restarts_ == restartsBefore) transitions_[slot] = packed;
        return packed;
    }

    bool MatchesAtTextStart(int state) {
        const State& here = states_[static_cast<size_t>(state)];
        atomStates_.clear();
        return Closure(here.core, {true, here.atTextEnd, false, here.rightWord});
    }

    // Follows every empty step from the core and from the automaton's start (a match may end
    // at any position); collects the atom states reached. True when the match state is reached.
    bool Closure(const std::vector<int>& core, const Context& context) {
        if (++generation_ == 0) {
            std::fill(marks_.begin(), marks_.end(), 0);
            generation_ = 1;
        }
        pending_.assign(core.begin(), core.end());
        pending_.push_back(automaton_.start);
        bool match = false;
        while (!pending_.empty()) {
            const int id = pending_.back();
            pending_.pop_back();
            if (marks_[static_cast<size_t>(id)] == generation_) continue;
            marks_[static_cast<size_t>(id)] = generation_;
            const AutomatonState& s = automaton_.states[static_cast<size_t>(id)];
            switch (s.op) {
                case AutomatonState::Op::Atom: atomStates_.push_back(id); break;
                case AutomatonState::Op::Match: match = true; break;
                case AutomatonState::Op::Split:
                    pending_.push_back(s.alternative);
                    pending_.push_back(s.next);
                    break;
                case AutomatonState::Op::Assert:
                    if (Holds(s.assertion, context)) pending_.push_back(s.next);
                    break;
            }
        }
        return match;
    }

    const ReversedAutomaton& automaton_;
    const std::vector<std::unique_ptr<Atom>>& atoms_;
    // The regex reads characters through the global locale as it was when it was compiled.
    std::locale locale_;
    const std::ctype<wchar_t>* ctype_;
    std::regex_traits<wchar_t> traits_;
    std::regex_traits<wchar_t>::char_class_type wordClass_;

    std::array<std::unique_ptr<std::array<uint16_t, 256>>, 256> classPages_{};
    std::unordered_map<std::vector<bool>, uint16_t> classIndex_;
    std::vector<std::vector<bool>> classMembers_;  // per class: each atom's answer, then "word character"

    std::vector<State> states_;
    std::unordered_map<Key, int, KeyHash> index_;
    size_t classStride_ = 16;
    std::vector<int32_t> transitions_;
    size_t restarts_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    uint32_t firstSteps_ = 0;

    std::vector<uint32_t> marks_;
    uint32_t generation_ = 0;
    std::vector<int> pending_;
    std::vector<int> atomStates_;
};

LinearRegex::LinearRegex(ReversedAutomaton automaton, bool ignoreCase) : automaton_(std::move(automaton)) {
    auto flags = std::regex_constants::ECMAScript;
    if (ignoreCase) flags |= std::regex_constants::icase;
    for (const std::wstring& text : automaton_.atoms) {
        auto atom = std::make_unique<Atom>();
        if (text.size() == 1 && text != L".") {
            atom->kind = ignoreCase ? Atom::Kind::Folded : Atom::Kind::Exact;
            atom->literal = text[0];
        } else {
            atom->kind = Atom::Kind::Regex;
            atom->regex = std::wregex(text, flags);
        }
        atoms_.push_back(std::move(atom));
    }
    dfa_ = std::make_unique<Dfa>(automaton_, atoms_);
}

std::shared_ptr<const LinearRegex> LinearRegex::Create(std::wstring_view pattern, bool ignoreCase) {
    std::optional<ReversedAutomaton> automaton = ReadReversedAutomaton(pattern);
    if (!automaton) return nullptr;
    try {
        return std::make_shared<const LinearRegex>(std::move(*automaton), ignoreCase);
    } catch (const std::regex_error&) {
        return nullptr;  // an atom that only compiles in its context: left to the bounded matcher
    }
}

std::optional<size_t> LinearRegex::FirstStart(std::wstring_view text, size_t from, const MatchBudget& budget) const {
    if (from > text.size()) return std::nullopt;
    std::optional<size_t> first;
    const std::lock_guard lock(scanning_);
    dfa_->ScanBackwards(text, from, budget.Deadline(), [&](size_t position) { first = position; });
    return first;
}

std::vector<bool> LinearRegex::Starts(std::wstring_view text, const MatchBudget& budget) const {
    std::vector<bool> starts(text.size() + 1);
    const std::lock_guard lock(scanning_);
    dfa_->ScanBackwards(text, 0, budget.Deadline(), [&](size_t position) { starts[position] = true; });
    return starts;
}

MatchStartFinder LinearRegex::SearchFinder(std::wstring_view text, const MatchBudget& budget) const {
    if (!Exact()) return StartFinder(text, budget);
    return [this, text, &budget](size_t from) { return FirstStart(text, from, budget); };
}

MatchStartFinder LinearRegex::StartFinder(std::wstring_view text, const MatchBudget& budget) const {
    auto starts = std::make_shared<std::optional<std::vector<bool>>>();
    return [this, text, &budget, starts](size_t from) -> std::optional<size_t> {
        if (!*starts) *starts = Starts(text, budget);
        const std::vector<bool>& marked = **starts;
        for (size_t position = from; position < marked.size(); ++position) {
            if (marked[position]) return position;
        }
        return std::nullopt;
    };
}

}  // namespace veltrano
