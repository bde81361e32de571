#include "regex/linear_regex.h"

#include <regex>

namespace veltrano {

LinearRegex::LinearRegex(ReversedAutomaton automaton)
    : automaton_(std::move(automaton)), dfa_(std::make_unique<ReverseDfa>(automaton_)) {}

std::shared_ptr<const LinearRegex> LinearRegex::Create(std::wstring_view pattern, bool ignoreCase) {
    std::optional<ReversedAutomaton> automaton = ReadReversedAutomaton(pattern, ignoreCase);
    if (!automaton) return nullptr;
    try {
        return std::make_shared<const LinearRegex>(std::move(*automaton));
    } catch (const std::regex_error&) {
        return nullptr;  // an atom that only compiles in its context: left to the bounded matcher
    }
}

std::optional<size_t> LinearRegex::FirstStart(std::wstring_view text, size_t from, const MatchBudget& budget) const {
    if (from > text.size()) return std::nullopt;
    std::optional<size_t> first;
    const std::lock_guard lock(scanning_);
    dfa_->ScanBackwards(text, from, budget.Deadline(), [&](size_t position, const std::vector<int>&) { first = position; });
    return first;
}

std::vector<bool> LinearRegex::Starts(std::wstring_view text, const MatchBudget& budget) const {
    std::vector<bool> starts(text.size() + 1);
    const std::lock_guard lock(scanning_);
    dfa_->ScanBackwards(text, 0, budget.Deadline(),
                        [&](size_t position, const std::vector<int>&) { starts[position] = true; });
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

namespace {

ReversedAutomaton CombinedAutomaton(const std::vector<const LinearRegex*>& members) {
    std::vector<const ReversedAutomaton*> parts;
    for (const LinearRegex* member : members) parts.push_back(&member->Automaton());
    return CombineReversedAutomata(parts);
}

}  // namespace

LinearRegexSet::LinearRegexSet(const std::vector<const LinearRegex*>& members)
    : size_(members.size()),
      automaton_(CombinedAutomaton(members)),
      dfa_(std::make_unique<ReverseDfa>(automaton_)) {}

std::vector<std::optional<size_t>> LinearRegexSet::FirstStarts(std::wstring_view text,
                                                               const MatchBudget& budget) const {
    std::vector<std::optional<size_t>> first(size_);
    const std::lock_guard lock(scanning_);
    dfa_->ScanBackwards(text, 0, budget.Deadline(), [&](size_t position, const std::vector<int>& patterns) {
        for (const int pattern : patterns) first[static_cast<size_t>(pattern)] = position;
    });
    return first;
}

}  // namespace veltrano
