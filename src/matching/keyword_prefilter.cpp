#include "matching/keyword_prefilter.h"

#include <algorithm>
#include <array>
#include <deque>
#include <locale>
#include <tuple>
#include <type_traits>

#include "matching/keyword_lists.h"
#include "regex/pattern_structure.h"
#include "regex/wildcard.h"

namespace veltrano {
namespace {

constexpr std::wstring_view kRegexSpecial = L"\\^$.|?*+()[]{}";
// The line ends of ECMAScript '.', which the wildcard matcher never crosses either.
constexpr std::array<wchar_t, 4> kLineEnds = {L'\n', L'\r', L'\u2028', L'\u2029'};
// Longer literals only grow the automaton; any piece of a required literal is required too.
constexpr size_t kMaxLiteralLength = 32;
// Above this many transitions (4 bytes each) the lists run without the prefilter.
constexpr size_t kMaxAutomatonCells = size_t{1} << 22;
constexpr uint32_t kNoState = UINT32_MAX;

// A pattern's leading atoms as far as they are plain: a literal character, or nullopt for one
// that matches something else ('.', or any quantified atom). Stops at the first other construct.
std::vector<std::optional<wchar_t>> LeadingAtoms(std::wstring_view pattern) {
    std::vector<std::optional<wchar_t>> atoms;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'*' || c == L'+' || c == L'?' || c == L'{') {
            if (!atoms.empty()) atoms.back() = std::nullopt;  // quantified: maybe absent or repeated
            if (c == L'{') break;
        } else if (c == L'\\' && i + 1 < pattern.size() && kRegexSpecial.find(pattern[i + 1]) != std::wstring_view::npos) {
            atoms.push_back(pattern[++i]);
        } else if (c == L'.') {
            atoms.push_back(std::nullopt);
        } else if (kRegexSpecial.find(c) != std::wstring_view::npos) {
            break;  // classes, groups, anchors, other escapes, alternation
        } else {
            atoms.push_back(c);
        }
    }
    return atoms;
}

bool HasTopLevelAlternation(std::wstring_view pattern) {
    bool found = false;
    VisitPatternStructure(pattern, [&](wchar_t c, int depth) {
        found = c == L'|' && depth == 0;
        return !found;
    });
    return found;
}

}  // namespace

KeywordPrefilter::KeywordPrefilter(const KeywordList& list) {
    keywords_.resize(list.size());
    if (list.empty()) return;
    // The fold the regexes (and so the wildcard matchers) apply to text, taken once: it depends
    // only on the locale, which a keyword whose regex holds another one simply does not share.
    const std::locale locale = list.front().pattern.getloc();
    const auto& ctype = std::use_facet<std::ctype<wchar_t>>(locale);
    fold_.resize(size_t{1} << 16);
    for (size_t c = 0; c < fold_.size(); ++c) fold_[c] = ctype.tolower(static_cast<wchar_t>(c));

    for (size_t i = 0; i < list.size(); ++i) {
        const KeywordEntry& entry = list[i];
        Keyword& keyword = keywords_[i];
        keyword.ignoreCase = entry.ignoreCase;
        if (entry.pattern.getloc() != locale) continue;
        std::wstring_view pattern = entry.text;
        if (entry.ignoreCase) pattern.remove_prefix(3);  // "[i]"
        std::wstring literal;
        if (entry.wildcard) {
            // The translation is all literals, '.' and ".*": its longest literal run is in every match.
            const auto atoms = LeadingAtoms(WildcardToRegex(pattern));
            std::wstring run;
            keyword.lineBound = true;
            for (const auto& atom : atoms) {
                if (atom) {
                    run += *atom;
                    if (IsLineEnd(*atom, entry.ignoreCase)) keyword.lineBound = false;
                } else {
                    run.clear();
                }
                if (run.size() > literal.size()) literal = run;
            }
        } else if (!HasTopLevelAlternation(pattern)) {
            // Every match begins with the leading literals.
            for (const auto& atom : LeadingAtoms(pattern)) {
                if (!atom) break;
                literal += *atom;
            }
        }
        if (literal.empty()) continue;
        literal.resize(std::min(literal.size(), kMaxLiteralLength));
        for (wchar_t& c : literal) c = fold_[static_cast<uint16_t>(c)];
        const auto known = std::find(literals_.begin(), literals_.end(), literal);
        keyword.literal = static_cast<uint32_t>(known - literals_.begin());
        if (known == literals_.end()) literals_.push_back(std::move(literal));
    }
    BuildAutomaton();
    BuildLinearSet(list);
}

void KeywordPrefilter::BuildLinearSet(const KeywordList& list) {
    std::vector<const LinearRegex*> members;
    size_t states = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        const KeywordEntry& entry = list[i];
        if (entry.wildcard || keywords_[i].literal != kNone || !entry.linear || !entry.linear->Exact()) continue;
        states += entry.linear->Automaton().states.size();
        if (states > kMaxAutomatonStates) break;
        keywords_[i].linearMember = static_cast<uint32_t>(members.size());
        members.push_back(entry.linear.get());
    }
    if (!members.empty()) linearSet_ = std::make_shared<const LinearRegexSet>(members);
}

bool KeywordPrefilter::IsLineEnd(wchar_t c, bool ignoreCase) const {
    if (!ignoreCase) return std::find(kLineEnds.begin(), kLineEnds.end(), c) != kLineEnds.end();
    const wchar_t folded = fold_[static_cast<uint16_t>(c)];
    return std::any_of(kLineEnds.begin(), kLineEnds.end(),
                       [&](wchar_t end) { return fold_[static_cast<uint16_t>(end)] == folded; });
}

void KeywordPrefilter::BuildAutomaton() {
    std::vector<uint16_t> column(size_t{1} << 16, 0);
    columns_ = 1;
    for (const std::wstring& literal : literals_) {
        for (const wchar_t c : literal) {
            if (column[static_cast<uint16_t>(c)] == 0) column[static_cast<uint16_t>(c)] = static_cast<uint16_t>(columns_++);
        }
    }
    // The trie's states are the literals' distinct prefixes: many keywords of one shape share most.
    std::vector<std::wstring_view> sorted(literals_.begin(), literals_.end());
    std::sort(sorted.begin(), sorted.end());
    size_t states = 1;
    for (size_t i = 0; i < sorted.size(); ++i) {
        const std::wstring_view previous = i > 0 ? sorted[i - 1] : std::wstring_view();
        const size_t shared = static_cast<size_t>(
            std::mismatch(sorted[i].begin(), sorted[i].end(), previous.begin(), previous.end()).first - sorted[i].begin());
        states += sorted[i].size() - shared;
    }
    if (states * columns_ > kMaxAutomatonCells) {
        for (Keyword& keyword : keywords_) keyword.literal = kNone;
        literals_.clear();
        return;
    }
    classOf_.resize(size_t{1} << 16);
    for (size_t c = 0; c < classOf_.size(); ++c) classOf_[c] = column[static_cast<uint16_t>(fold_[c])];

    // The trie.
    next_.assign(columns_, kNoState);
    output_.assign(1, kNone);
    for (uint32_t id = 0; id < literals_.size(); ++id) {
        uint32_t state = 0;
        for (const wchar_t c : literals_[id]) {
            uint32_t& target = next_[state * columns_ + column[static_cast<uint16_t>(c)]];
            if (target == kNoState) {
                target = static_cast<uint32_t>(output_.size());
                output_.push_back(kNone);
                next_.resize(next_.size() + columns_, kNoState);
            }
            state = next_[state * columns_ + column[static_cast<uint16_t>(c)]];
        }
        output_[state] = id;
    }
    // Failure links in breadth-first order, folded into a complete transition table.
    std::vector<uint32_t> failure(output_.size(), 0);
    outputLink_.assign(output_.size(), 0);
    std::deque<uint32_t> queue;
    for (size_t a = 0; a < columns_; ++a) {
        uint32_t& target = next_[a];
        if (target == kNoState) {
            target = 0;
        } else {
            queue.push_back(target);
        }
    }
    while (!queue.empty()) {
        const uint32_t state = queue.front();
        queue.pop_front();
        for (size_t a = 0; a < columns_; ++a) {
            uint32_t& target = next_[state * columns_ + a];
            const uint32_t fallback = next_[failure[state] * columns_ + a];
            if (target == kNoState) {
                target = fallback;
            } else {
                failure[target] = fallback;
                outputLink_[target] = output_[fallback] != kNone ? fallback : outputLink_[fallback];
                queue.push_back(target);
            }
        }
    }
    for (uint32_t& target : next_) {
        const bool output = output_[target] != kNone || outputLink_[target] != 0;
        target = target * static_cast<uint32_t>(columns_) | (output ? kOutputFlag : 0);
    }
}

KeywordPrefilter::TextScan KeywordPrefilter::Scan(std::wstring_view text) const {
    const KeywordPrefilter* self = this;
    return std::move(ScanTogether({&self, 1}, text).front());
}

std::vector<KeywordPrefilter::TextScan> KeywordPrefilter::ScanTogether(std::span<const KeywordPrefilter* const> prefilters,
                                                                       std::wstring_view text) {
    std::vector<TextScan> scans(prefilters.size());
    std::vector<std::pair<const KeywordPrefilter*, TextScan*>> walks;
    for (size_t i = 0; i < prefilters.size(); ++i) {
        scans[i].firstStart.assign(prefilters[i]->literals_.size(), std::wstring_view::npos);
        if (!prefilters[i]->literals_.empty()) walks.emplace_back(prefilters[i], &scans[i]);
    }
    // Groups of a fixed size keep every walk's state in a register.
    for (size_t at = 0; at < walks.size(); at += kScanGroup) {
        const auto run = [&]<size_t N>(std::integral_constant<size_t, N>) {
            std::array<const KeywordPrefilter*, N> group;
            std::array<TextScan*, N> groupScans;
            for (size_t k = 0; k < N; ++k) std::tie(group[k], groupScans[k]) = walks[at + k];
            ScanGroup<N>(group, text, groupScans);
        };
        switch (std::min(walks.size() - at, kScanGroup)) {
            case 1: run(std::integral_constant<size_t, 1>{}); break;
            case 2: run(std::integral_constant<size_t, 2>{}); break;
            case 3: run(std::integral_constant<size_t, 3>{}); break;
            default: run(std::integral_constant<size_t, 4>{}); break;
        }
    }
    return scans;
}

template <size_t N>
void KeywordPrefilter::ScanGroup(const std::array<const KeywordPrefilter*, N>& group, std::wstring_view text,
                                 const std::array<TextScan*, N>& scans) {
    std::array<uint32_t, N> row{};
    std::array<size_t, N> missing;
    // A state is visited for its outputs once; after that all of them have a first occurrence.
    std::array<std::vector<uint8_t>, N> pending;
    size_t walking = N;
    for (size_t k = 0; k < N; ++k) {
        missing[k] = group[k]->literals_.size();
        pending[k].assign(group[k]->output_.size(), 1);
    }
    for (size_t i = 0; i < text.size() && walking > 0; ++i) {
        const auto c = static_cast<uint16_t>(text[i]);
        for (size_t k = 0; k < N; ++k) {
            const KeywordPrefilter& automaton = *group[k];
            const uint32_t next = automaton.next_[row[k] + automaton.classOf_[c]];
            row[k] = next & ~kOutputFlag;
            if (!(next & kOutputFlag) || missing[k] == 0) continue;
            const uint32_t state = row[k] / static_cast<uint32_t>(automaton.columns_);
            if (!pending[k][state]) continue;
            pending[k][state] = 0;
            for (uint32_t s = automaton.output_[state] != kNone ? state : automaton.outputLink_[state]; s != 0;
                 s = automaton.outputLink_[s]) {
                size_t& first = scans[k]->firstStart[automaton.output_[s]];
                if (first != std::wstring_view::npos) continue;
                first = i + 1 - automaton.literals_[automaton.output_[s]].size();
                if (--missing[k] == 0) {
                    --walking;
                    break;
                }
            }
        }
    }
}

size_t KeywordPrefilter::NextOccurrence(std::wstring_view text, size_t from, const std::wstring& literal) const {
    const size_t length = literal.size();
    for (size_t i = from; i + length <= text.size(); ++i) {
        if (fold_[static_cast<uint16_t>(text[i])] != literal[0]) continue;
        size_t k = 1;
        while (k < length && fold_[static_cast<uint16_t>(text[i + k])] == literal[k]) ++k;
        if (k == length) return i;
    }
    return std::wstring_view::npos;
}

std::optional<MatchSpan> KeywordPrefilter::FindWildcard(const KeywordList& list, size_t index, std::wstring_view text,
                                                        const TextScan& scan) const {
    const Keyword& keyword = keywords_[index];
    const WildcardMatcher& matcher = *list[index].wildcard;
    if (keyword.literal == kNone) return matcher.Find(text);
    size_t at = scan.firstStart[keyword.literal];
    if (at == std::wstring_view::npos) return std::nullopt;
    if (!keyword.lineBound) return matcher.Find(text);
    // Every match lies on one line and holds the literal: the first line holding the literal
    // where the matcher succeeds has the first match, and the matcher sees only that line.
    while (at != std::wstring_view::npos) {
        size_t start = at;
        while (start > 0 && !IsLineEnd(text[start - 1], keyword.ignoreCase)) --start;
        size_t end = at;
        while (end < text.size() && !IsLineEnd(text[end], keyword.ignoreCase)) ++end;
        if (const auto match = matcher.Find(text.substr(start, end - start))) {
            return MatchSpan{start + match->position, match->length};
        }
        if (end == text.size()) break;
        at = NextOccurrence(text, end + 1, literals_[keyword.literal]);
    }
    return std::nullopt;
}

std::optional<size_t> KeywordPrefilter::SharedLinearStart(size_t index, std::wstring_view text, TextScan& scan,
                                                          const MatchBudget& budget) const {
    if (scan.linearStopped) throw MatchAborted(*scan.linearStopped);
    if (!scan.linearStarts) {
        try {
            scan.linearStarts = linearSet_->FirstStarts(text, budget);
        } catch (const MatchAborted& stopped) {
            scan.linearStopped = stopped.reason();
            throw;
        }
    }
    return (*scan.linearStarts)[keywords_[index].linearMember];
}

std::optional<size_t> KeywordPrefilter::RegexStart(size_t index, const TextScan& scan) const {
    const Keyword& keyword = keywords_[index];
    if (keyword.literal == kNone) return 0;
    const size_t at = scan.firstStart[keyword.literal];
    if (at == std::wstring_view::npos) return std::nullopt;
    return at;
}

}  // namespace veltrano
