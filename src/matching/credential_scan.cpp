#include "matching/credential_scan.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <span>
#include <vector>

#include "log/secret_tag.h"
#include "matching/credential_text.h"

namespace veltrano {
namespace {

using namespace credential_text;

// The rows by their anchor, with the pairs of characters their literals put right before and
// right after it (folded, so a row of either case is kept): a place whose neighbours make no
// such pair is ruled out by two look-ups, before any row is tried.
class FormatIndex {
public:
    FormatIndex() {
        for (const CredentialFormat& format : CredentialFormats()) {
            if (!slotOf_[format.anchor]) {
                slotOf_[format.anchor] = static_cast<unsigned char>(slots_.size() + 1);
                slots_.emplace_back();
            }
            Slot& slot = slots_[slotOf_[format.anchor] - 1];
            slot.rows.push_back(&format);
            const std::wstring_view before = format.before;
            const std::wstring_view after = format.after;
            if (before.size() >= 2) {
                slot.pairs.set(PairKey(kBefore, Folded(before[before.size() - 2]), Folded(before.back())));
            } else if (after.size() >= 2) {
                slot.pairs.set(PairKey(kAfter, Folded(after[0]), Folded(after[1])));
            } else {
                slot.anyPlace = true;
            }
        }
    }

    std::span<const CredentialFormat* const> RowsAt(std::wstring_view text, size_t position) const {
        const wchar_t anchor = text[position];
        if (anchor >= 128 || !slotOf_[anchor]) return {};
        const Slot& slot = slots_[slotOf_[anchor] - 1];
        const bool near = slot.anyPlace || (position >= 2 && slot.Has(kBefore, text[position - 2], text[position - 1])) ||
                          (text.size() - position > 2 && slot.Has(kAfter, text[position + 1], text[position + 2]));
        return near ? std::span<const CredentialFormat* const>(slot.rows) : std::span<const CredentialFormat* const>();
    }

private:
    enum Side { kBefore, kAfter };

    static size_t PairKey(Side side, wchar_t first, wchar_t second) { return (side * 128u + first) * 128u + second; }

    struct Slot {
        std::vector<const CredentialFormat*> rows;
        std::bitset<2 * 128 * 128> pairs;
        bool anyPlace = false;
        bool Has(Side side, wchar_t first, wchar_t second) const {
            first = Folded(first);
            second = Folded(second);
            return first < 128 && second < 128 && pairs[PairKey(side, first, second)];
        }
    };

    std::array<unsigned char, 128> slotOf_{};  // 0: no row has the anchor
    std::vector<Slot> slots_;
};

const FormatIndex kFormatIndex;

CredentialMatch FormatMatch(std::wstring_view text, const CredentialFormat& format, size_t begin, const FormatSpan& span) {
    if (span.begin != static_cast<size_t>(-1)) begin = span.begin;
    return CredentialMatch{.kind = format.kind,
                           .position = begin,
                           .length = span.end - begin,
                           .shownPrefix = std::wstring(text.substr(begin, span.shownEnd - begin)),
                           .hiddenLength = CharacterCount(text.substr(span.shownEnd, span.end - span.shownEnd)),
                           .item = {}};
}

bool IsCryptLineName(wchar_t c) { return IsWordChar(c) || c == L'.' || c == L'-'; }

}  // namespace

// A letter's distance holds when everything anchored at it needs a word to begin that far before
// it: each format row there (a letter is no separator), and netrc's "passw" at its "w".
const std::array<unsigned char, 128> CredentialScan::kWordStartDistance = [] {
    std::array<unsigned char, 128> distances;
    distances.fill(kNoWordStart);
    std::array<bool, 128> seen{};
    for (const CredentialFormat& format : CredentialFormats()) {
        if (!credential_text::IsAsciiAlpha(format.anchor)) continue;
        unsigned char& distance = distances[format.anchor];
        const auto wanted = static_cast<unsigned char>(format.before.size());
        if (!seen[format.anchor]) distance = format.wordStart ? wanted : kNoWordStart;
        else if (!format.wordStart || distance != wanted) distance = kNoWordStart;
        seen[format.anchor] = true;
    }
    for (const wchar_t w : {L'w', L'W'}) {
        distances[w] = static_cast<unsigned char>(LabelledSecretFinder::kNetrcLabelStart.size() - 1);
    }
    return distances;
}();

CredentialScan::CredentialScan(std::wstring_view text, CredentialFamilies families)
    : text_(text), families_(families), labelled_(text) {}

std::optional<CredentialMatch> CredentialScan::Found() const { return format_ ? format_ : labelledSecret_; }

void CredentialScan::LookAt(size_t position) {
    const wchar_t c = text_[position];
    if (!IsFormatAnchor(c) && c != L'\n' && !LabelledSecretFinder::MayMatterAt(text_, position)) return;
    if (c == L'\n') {
        EndLine(position);
        lineStart_ = position + 1;
        lineColons_ = 0;
        return;
    }
    if (c == L':') {
        if (lineColons_ == 0 && families_.formats && !format_) LookAtPasswordFileLine(position);
        ++lineColons_;
    }
    if (families_.formats && !format_ && IsFormatAnchor(c)) LookAtFormats(position);
    if (families_.labelledSecrets && !labelledSecret_) {
        if (LabelledSecretFinder::IsSeparator(c)) {
            if (std::optional<CredentialMatch> found = labelled_.AtSeparator(position)) labelledSecret_ = std::move(found);
        } else if (LabelledSecretFinder::IsCallOpen(c)) {
            if (std::optional<CredentialMatch> found = labelled_.AtCall(position)) labelledSecret_ = std::move(found);
        } else if (LabelledSecretFinder::IsLabelEnd(c)) {
            if (std::optional<CredentialMatch> found = labelled_.AtLabelEnd(position)) labelledSecret_ = std::move(found);
        }
    }
}

void CredentialScan::Finish() { EndLine(text_.size()); }

void CredentialScan::EndLine(size_t lineEnd) {
    if (lineColons_ == 4 && families_.labelledSecrets && !labelledSecret_) {
        labelledSecret_ = labelled_.AtLineEnd(lineStart_, lineEnd);
    }
}

void CredentialScan::LookAtFormats(size_t position) {
    for (const CredentialFormat* format : kFormatIndex.RowsAt(text_, position)) {
        if (position < format->before.size()) continue;
        const size_t begin = position - format->before.size();
        if ((format->wordStart && !WordStartsAt(text_, begin)) || !StandsAt(text_, begin, format->before, format->folded) ||
            !StandsAt(text_, position + 1, format->after, format->folded)) {
            continue;
        }
        if (const std::optional<FormatSpan> span = format->check(text_, begin, position + 1 + format->after.size(), memo_)) {
            format_ = FormatMatch(text_, *format, begin, *span);
            return;
        }
    }
}

// passwd(5), shadow(5) and htpasswd lines with a traditional DES hash, which only its place in
// such a line tells from a word: "user:<13 characters>" then ":" or the line's end. (Hashes with a
// "$" or "{" prefix are found wherever they stand.)
void CredentialScan::LookAtPasswordFileLine(size_t colon) {
    if (colon == lineStart_ || colon - lineStart_ > 32 ||
        !std::all_of(text_.begin() + static_cast<std::ptrdiff_t>(lineStart_), text_.begin() + static_cast<std::ptrdiff_t>(colon),
                     IsCryptLineName)) {
        return;
    }
    const size_t hash = RunEnd(text_, colon + 1, [](wchar_t c) { return c == L'!'; }, 4);
    const size_t end = RunEnd(text_, hash, IsCryptChar, 14);
    if (end - hash != 13 || (end < text_.size() && text_[end] != L':' && !IsLineBreak(text_[end]))) return;
    const std::wstring_view value = text_.substr(hash, 13);
    if (std::none_of(value.begin(), value.end(), IsAsciiUpper) || std::none_of(value.begin(), value.end(), IsAsciiLower) ||
        std::none_of(value.begin(), value.end(), [](wchar_t c) { return IsAsciiDigit(c) || c == L'.' || c == L'/'; })) {
        return;
    }
    format_ = CredentialMatch{.kind = CredentialKind::PasswordHash,
                              .position = hash,
                              .length = 13,
                              .shownPrefix = L"",
                              .hiddenLength = 13,
                              .item = {}};
}

}  // namespace veltrano
