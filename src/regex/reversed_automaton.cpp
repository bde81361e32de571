#include "regex/reversed_automaton.h"

#include <cwctype>
#include <map>
#include <optional>
#include <utility>

namespace veltrano {
namespace {

// Counted repetitions beyond this are left to the bounded matcher (they would expand too far).
constexpr int kMaxRepeatCount = 1000;

struct Unsupported {};

struct Node {
    enum class Kind : unsigned char { Empty, Atom, Assert, Sequence, Choice, Repeat };
    Kind kind = Kind::Empty;
    int atom = -1;
    Assertion assertion = Assertion::TextStart;
    int min = 0;
    int max = -1;  // Repeat: -1 for no upper bound
    std::vector<Node> children{};
};

// A back-reference's stand-in: std::wregex compares only the captured text where the reference
// stands, so the group's assertions must not be checked again there.
Node WithoutAssertions(Node node) {
    if (node.kind == Node::Kind::Assert) return Node{};
    for (Node& child : node.children) child = WithoutAssertions(std::move(child));
    return node;
}

size_t CountNodes(const Node& node) {
    size_t count = 1;
    for (const Node& child : node.children) count += CountNodes(child);
    return count;
}

bool IsHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

// Recursive descent over the grammar libstdc++ reads for ECMAScript; where its reading is not
// certain to be the plain one, Unsupported.
class PatternReader {
public:
    explicit PatternReader(std::wstring_view pattern) : pattern_(pattern) {}

    Node Read() {
        Node node = Alternatives();
        if (More()) throw Unsupported{};  // a stray ')': std::wregex refuses it anyway
        return node;
    }
    std::vector<std::wstring> TakeAtoms() { return std::move(atoms_); }
    bool Exact() const { return exact_; }

private:
    bool More() const { return position_ < pattern_.size(); }
    wchar_t Peek() const { return pattern_[position_]; }
    wchar_t Take() {
        if (!More()) throw Unsupported{};
        return pattern_[position_++];
    }

    Node Alternatives() {
        Node first = Sequence();
        if (!More() || Peek() != L'|') return first;
        Node choice{.kind = Node::Kind::Choice};
        choice.children.push_back(std::move(first));
        while (More() && Peek() == L'|') {
            ++position_;
            choice.children.push_back(Sequence());
        }
        return choice;
    }

    Node Sequence() {
        Node sequence{.kind = Node::Kind::Sequence};
        while (More() && Peek() != L'|' && Peek() != L')') sequence.children.push_back(Quantified());
        return sequence;
    }

    Node Quantified() {
        Node atom = Atom();
        int min = 0;
        int max = -1;
        if (!More() || !Quantifier(min, max)) return atom;
        if (atom.kind == Node::Kind::Assert) throw Unsupported{};
        if (More() && Peek() == L'?') ++position_;  // lazy: the same matches, another order
        if (More() && (Peek() == L'*' || Peek() == L'+' || Peek() == L'?' || Peek() == L'{')) throw Unsupported{};
        Node repeat{.kind = Node::Kind::Repeat, .min = min, .max = max};
        repeat.children.push_back(std::move(atom));
        return repeat;
    }

    bool Quantifier(int& min, int& max) {
        switch (Peek()) {
            case L'*': min = 0, max = -1; break;
            case L'+': min = 1, max = -1; break;
            case L'?': min = 0, max = 1; break;
            case L'{': {
                ++position_;
                min = Count();
                max = min;
                if (More() && Peek() == L',') {
                    ++position_;
                    max = More() && Peek() == L'}' ? -1 : Count();
                }
                if (Take() != L'}' || (max >= 0 && max < min)) throw Unsupported{};
                return true;
            }
            default: return false;
        }
        ++position_;
        return true;
    }

    int Count() {
        int value = 0;
        bool digits = false;
        while (More() && Peek() >= L'0' && Peek() <= L'9') {
            value = value * 10 + (Take() - L'0');
            digits = true;
            if (value > kMaxRepeatCount) throw Unsupported{};
        }
        if (!digits) throw Unsupported{};
        return value;
    }

    Node Atom() {
        const size_t begin = position_;
        switch (Take()) {
            case L'(': {
                bool lookahead = false;
                std::optional<size_t> group;
                if (More() && Peek() == L'?') {
                    ++position_;
                    const wchar_t kind = Take();
                    if (kind != L':' && kind != L'=' && kind != L'!') throw Unsupported{};
                    lookahead = kind != L':';
                } else {
                    group = groups_.size();
                    groups_.emplace_back();  // numbered when opened, known once closed
                }
                Node inner = Alternatives();
                if (Take() != L')') throw Unsupported{};
                if (lookahead) {
                    // Dropped: what it demands of the text ahead only narrows the matches.
                    exact_ = false;
                    if (More() && (Peek() == L'*' || Peek() == L'+' || Peek() == L'?' || Peek() == L'{')) {
                        throw Unsupported{};
                    }
                    return Node{};
                }
                if (group) groups_[*group] = {inner, CountNodes(inner)};
                return inner;
            }
            case L'[': SkipBracket(); break;
            case L'^': return Node{.kind = Node::Kind::Assert, .assertion = Assertion::TextStart};
            case L'$': return Node{.kind = Node::Kind::Assert, .assertion = Assertion::TextEnd};
            case L'\\': {
                const wchar_t escaped = Take();
                if (escaped == L'b') return Node{.kind = Node::Kind::Assert, .assertion = Assertion::WordBoundary};
                if (escaped == L'B') return Node{.kind = Node::Kind::Assert, .assertion = Assertion::NotWordBoundary};
                if (escaped >= L'1' && escaped <= L'9') return BackReference(escaped);
                SkipEscapeTail(escaped);
                break;
            }
            case L'*': case L'+': case L'?': case L'{': case L')': case L'|': throw Unsupported{};
            default: break;
        }
        return AtomNode(pattern_.substr(begin, position_ - begin));
    }

    // "\n": the group's text or, when the group has not taken part, nothing. The copy only widens
    // the starts: the group's pattern without its assertions (its lookaheads are dropped already).
    Node BackReference(wchar_t first) {
        size_t number = static_cast<size_t>(first - L'0');
        while (More() && Peek() >= L'0' && Peek() <= L'9') {
            number = number * 10 + static_cast<size_t>(Take() - L'0');
            if (number > groups_.size()) throw Unsupported{};
        }
        if (number == 0 || number > groups_.size() || !groups_[number - 1]) throw Unsupported{};
        // Each copy may hold copies itself: without a limit, a few dozen groups would double
        // their way past any memory.
        const auto& [groupNode, groupSize] = *groups_[number - 1];
        copiedNodes_ += groupSize;
        if (copiedNodes_ > kMaxAutomatonStates) throw Unsupported{};
        exact_ = false;
        Node optional{.kind = Node::Kind::Repeat, .min = 0, .max = 1};
        optional.children.push_back(WithoutAssertions(groupNode));
        return optional;
    }

    // After "\x": the rest of the escape. Digits are back-references (or "\0").
    void SkipEscapeTail(wchar_t escaped) {
        if (escaped >= L'0' && escaped <= L'9') throw Unsupported{};
        const int hexDigits = escaped == L'x' ? 2 : escaped == L'u' ? 4 : 0;
        for (int i = 0; i < hexDigits; ++i) {
            if (!IsHex(Take())) throw Unsupported{};
        }
        if (escaped == L'c') Take();
    }

    // After '[': up to and including the ']' that closes it (never the first character in ECMAScript).
    void SkipBracket() {
        for (;;) {
            const wchar_t c = Take();
            if (c == L']') return;
            if (c == L'\\') {
                SkipEscapeTail(Take());
            } else if (c == L'[' && More() && (Peek() == L':' || Peek() == L'.' || Peek() == L'=')) {
                throw Unsupported{};  // POSIX classes, collating elements, equivalence classes
            }
        }
    }

    Node AtomNode(std::wstring_view text) {
        const auto [found, added] = atomIndex_.try_emplace(std::wstring(text), static_cast<int>(atoms_.size()));
        if (added) atoms_.emplace_back(text);
        return Node{.kind = Node::Kind::Atom, .atom = found->second};
    }

    std::wstring_view pattern_;
    size_t position_ = 0;
    std::vector<std::wstring> atoms_;
    std::map<std::wstring, int> atomIndex_;
    // Capturing groups in number order, once closed, with their node counts.
    std::vector<std::optional<std::pair<Node, size_t>>> groups_;
    size_t copiedNodes_ = 0;
    bool exact_ = true;
};

// Thompson construction of the reversed pattern: Build(node, next) gives the entry of a piece
// that reads the node's matches backwards and then goes on at `next`.
class ReversedBuilder {
public:
    explicit ReversedBuilder(std::vector<AutomatonState>& states) : states_(states) {}

    int Match() { return Add({.op = AutomatonState::Op::Match}); }

    int Build(const Node& node, int next) {
        switch (node.kind) {
            case Node::Kind::Empty: return next;
            case Node::Kind::Atom: return Add({.op = AutomatonState::Op::Atom, .atom = node.atom, .next = next});
            case Node::Kind::Assert:
                return Add({.op = AutomatonState::Op::Assert, .assertion = node.assertion, .next = next});
            case Node::Kind::Sequence:
                // Read backwards, the first element of the sequence is the last one reached.
                for (const Node& child : node.children) next = Build(child, next);
                return next;
            case Node::Kind::Choice: {
                int entry = Build(node.children.back(), next);
                for (size_t i = node.children.size() - 1; i-- > 0;) {
                    const int branch = Build(node.children[i], next);
                    entry = Add({.op = AutomatonState::Op::Split, .next = branch, .alternative = entry});
                }
                return entry;
            }
            case Node::Kind::Repeat: return Repeat(node.children.front(), node.min, node.max, next);
        }
        throw Unsupported{};
    }

private:
    int Repeat(const Node& body, int min, int max, int next) {
        int entry = next;
        if (max < 0) {
            // A loop: the split is made first so the body can lead back to it.
            const int loop = Add({.op = AutomatonState::Op::Split, .alternative = next});
            states_[static_cast<size_t>(loop)].next = Build(body, loop);
            entry = loop;
        } else {
            for (int optional = max - min; optional > 0; --optional) {
                entry = Add({.op = AutomatonState::Op::Split, .next = Build(body, entry), .alternative = next});
            }
        }
        for (int required = 0; required < min; ++required) entry = Build(body, entry);
        return entry;
    }

    int Add(AutomatonState state) {
        if (states_.size() >= kMaxAutomatonStates) throw Unsupported{};
        states_.push_back(state);
        return static_cast<int>(states_.size() - 1);
    }

    std::vector<AutomatonState>& states_;
};

}  // namespace

std::optional<ReversedAutomaton> ReadReversedAutomaton(std::wstring_view pattern, bool ignoreCase) {
    try {
        PatternReader reader(pattern);
        const Node root = reader.Read();
        ReversedAutomaton automaton;
        for (std::wstring& atom : reader.TakeAtoms()) automaton.atoms.push_back({std::move(atom), ignoreCase});
        automaton.exact = reader.Exact();
        ReversedBuilder builder(automaton.states);
        automaton.start = builder.Build(root, builder.Match());
        return automaton;
    } catch (const Unsupported&) {
        return std::nullopt;
    }
}

ReversedAutomaton CombineReversedAutomata(const std::vector<const ReversedAutomaton*>& parts) {
    ReversedAutomaton combined;
    std::vector<int> starts;
    // Equal atoms (a hundred keywords that use "\d") are one atom: each atom costs the
    // classification of every new character.
    std::map<std::pair<std::wstring, bool>, int> atomIndex;
    for (size_t part = 0; part < parts.size(); ++part) {
        const ReversedAutomaton& automaton = *parts[part];
        std::vector<int> atomIds;
        for (const AutomatonAtom& atom : automaton.atoms) {
            const auto [found, added] =
                atomIndex.try_emplace({atom.text, atom.ignoreCase}, static_cast<int>(combined.atoms.size()));
            if (added) combined.atoms.push_back(atom);
            atomIds.push_back(found->second);
        }
        const int stateOffset = static_cast<int>(combined.states.size());
        const auto shift = [stateOffset](int id) { return id < 0 ? id : id + stateOffset; };
        for (AutomatonState state : automaton.states) {
            if (state.op == AutomatonState::Op::Atom) state.atom = atomIds[static_cast<size_t>(state.atom)];
            if (state.op == AutomatonState::Op::Match) state.pattern = static_cast<int>(part);
            state.next = shift(state.next);
            state.alternative = shift(state.alternative);
            combined.states.push_back(state);
        }
        starts.push_back(shift(automaton.start));
        combined.exact = combined.exact && automaton.exact;
    }
    // A chain of splits enters every part.
    int entry = starts.back();
    for (size_t part = starts.size() - 1; part-- > 0;) {
        combined.states.push_back({.op = AutomatonState::Op::Split, .next = starts[part], .alternative = entry});
        entry = static_cast<int>(combined.states.size() - 1);
    }
    combined.start = entry;
    return combined;
}

}  // namespace veltrano
