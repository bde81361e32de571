#pragma once
// The labels that name an identifier ("カード番号", "マイナンバー", "corporate number", ...) and where
// they stand in a text. Compared without regard to Latin case, full or half width, and with
// half-width katakana folded to full width, voiced marks joined (ﾊﾞ is バ).
#include <array>
#include <chrono>
#include <string_view>
#include <vector>

#include "matching/identifier_kind.h"

namespace veltrano {

// Characters between a label and its number, neither counted.
inline constexpr size_t kMaxLabelDistance = 300;

// Characters the detectors and the label scan read between two looks at the search's deadline.
inline constexpr size_t kPositionsPerClockRead = 1u << 16;

// A set of kinds, one bit each.
using KindSet = unsigned char;
static_assert(std::size(kIdentifierKinds) <= 8, "a kind set holds every kind");
constexpr KindSet KindBit(IdentifierKind kind) { return static_cast<KindSet>(1u << static_cast<unsigned>(kind)); }

class LabelIndex {
public:
    // The labels of the `asked` kinds, found in one pass as far as the candidates ask, checking
    // `deadline` as it goes.
    LabelIndex(std::wstring_view text, KindSet asked, std::chrono::steady_clock::time_point deadline)
        : text_(text), asked_(asked), deadline_(deadline) {}

    // A label of the kind (one of the asked) ends at most kMaxLabelDistance characters before `begin`, or starts at
    // most that many after `end`. Throws MatchAborted when the deadline passes while indexing.
    bool Near(IdentifierKind kind, size_t begin, size_t end);

private:
    struct Spans {
        std::vector<size_t> starts;
        std::vector<size_t> ends;
    };

    // Finds the labels that start before `limit`.
    void IndexTo(size_t limit);
    // The text's length that spells `label` from `position`, or 0.
    size_t LabelLengthAt(std::wstring_view label, size_t position) const;

    std::wstring_view text_;
    KindSet asked_;
    std::chrono::steady_clock::time_point deadline_;
    size_t indexedTo_ = 0;
    std::array<Spans, std::size(kIdentifierKinds)> spans_;
};

}  // namespace veltrano
