#pragma once
// Keyword search without one pass over the text per keyword. Each keyword gets a literal that
// every match of it contains (wildcards: their longest literal run; regexes: a plain literal
// prefix, when the pattern has no top-level alternation). One Aho-Corasick pass over the
// case-folded text finds where each literal first occurs; a keyword whose literal never occurs
// cannot match and is skipped, a wildcard runs its exact matcher only on the lines that hold its
// literal (its matches never cross a line end), a regex starts its search at the first occurrence.
// Regexes without such a literal whose matches a linear automaton finds exactly share one
// backward scan of a combined automaton (linear_regex.h) instead of one each. Other keywords run
// as before. Results are those of the plain per-keyword search.
#include <cstddef>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "regex/bounded_match.h"
#include "regex/linear_regex.h"
#include "regex/match_span.h"

namespace veltrano {

struct KeywordEntry;
using KeywordList = std::vector<KeywordEntry>;

class KeywordPrefilter {
public:
    // Where each literal first occurs in one text (npos: nowhere).
    struct TextScan {
        std::vector<size_t> firstStart;
        // The shared linear scan, made at the first question.
        std::optional<std::vector<std::optional<size_t>>> linearStarts;
        std::optional<MatchAborted::Reason> linearStopped;
    };

    KeywordPrefilter() = default;
    explicit KeywordPrefilter(const KeywordList& list);

    bool Covers(const KeywordList& list) const { return keywords_.size() == list.size(); }

    // One pass over the text for all literals of the list.
    TextScan Scan(std::wstring_view text) const;
    // One pass over the text for all literals of several lists: result i is prefilters[i]->Scan(text).
    static std::vector<TextScan> ScanTogether(std::span<const KeywordPrefilter* const> prefilters,
                                              std::wstring_view text);

    // list[index].wildcard->Find(text), reading only the lines that can hold its first match.
    std::optional<MatchSpan> FindWildcard(const KeywordList& list, size_t index, std::wstring_view text,
                                          const TextScan& scan) const;

    // Where list[index]'s regex search may start without missing its first match, or nullopt
    // when it cannot match at all.
    std::optional<size_t> RegexStart(size_t index, const TextScan& scan) const;

    // Whether list[index] is one of the regexes that share one linear scan.
    bool SharesLinearScan(size_t index) const { return keywords_[index].linearMember != kNone; }
    // For such a keyword: where its first match begins, if anywhere. The shared scan runs at the
    // first question; when it was stopped, every keyword sharing it is stopped for the same reason.
    std::optional<size_t> SharedLinearStart(size_t index, std::wstring_view text, TextScan& scan,
                                            const MatchBudget& budget) const;

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr uint32_t kOutputFlag = uint32_t{1} << 31;  // rows stay below: at most kMaxAutomatonCells

    struct Keyword {
        uint32_t literal = kNone;  // index into literals_, kNone: always runs
        bool ignoreCase = false;
        bool lineBound = false;    // no literal of the pattern is a line end: matches stay on one line
        uint32_t linearMember = kNone;  // index in linearSet_, kNone: not in it
    };

    // The scan of up to kScanGroup automata in one pass (their walks overlap in the processor).
    static constexpr size_t kScanGroup = 4;
    template <size_t N>
    static void ScanGroup(const std::array<const KeywordPrefilter*, N>& group, std::wstring_view text,
                          const std::array<TextScan*, N>& scans);

    bool IsLineEnd(wchar_t c, bool ignoreCase) const;
    size_t NextOccurrence(std::wstring_view text, size_t from, const std::wstring& literal) const;
    void BuildAutomaton();
    void BuildLinearSet(const KeywordList& list);

    std::vector<Keyword> keywords_;
    std::vector<std::wstring> literals_;  // folded, distinct
    std::vector<wchar_t> fold_;           // the keywords' ctype tolower for every code unit
    std::vector<uint16_t> classOf_;       // code unit -> automaton column (0: in no literal)
    size_t columns_ = 0;
    // row + column -> the next state's row (state * columns_), with kOutputFlag when that state
    // or one of its suffixes ends a literal
    std::vector<uint32_t> next_;
    std::vector<uint32_t> output_;        // state -> literal ending there, or kNone
    std::vector<uint32_t> outputLink_;    // state -> nearest proper suffix state with an output, or 0
    std::shared_ptr<const LinearRegexSet> linearSet_;
};

}  // namespace veltrano
