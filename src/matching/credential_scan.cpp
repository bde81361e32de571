#include "matching/credential_scan.h"

#include <algorithm>
#include <array>
#include <vector>

#include "log/secret_tag.h"
#include "matching/credential_text.h"

namespace veltrano {
namespace {

using namespace credential_text;

// The format rows by their anchor (all ASCII), so a place tries only its own rows.
struct RowsByAnchor {
    std::array<std::vector<const CredentialFormat*>, 128> rows;
    RowsByAnchor() {
        for (const CredentialFormat& format : CredentialFormats()) rows[format.anchor].push_back(&format);
    }
};

const std::vector<const CredentialFormat*>& RowsAt(wchar_t anchor) {
    static const RowsByAnchor byAnchor;
    static const std::vector<const CredentialFormat*> none;
    return anchor < 128 ? byAnchor.rows[anchor] : none;
}

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

CredentialScan::CredentialScan(std::wstring_view text, CredentialFamilies families)
    : text_(text), families_(families), labelled_(text) {}

bool CredentialScan::Done() const {
    return (!families_.formats || format_) && (!families_.labelledSecrets || labelledSecret_);
}

std::optional<CredentialMatch> CredentialScan::Found() const { return format_ ? format_ : labelledSecret_; }

void CredentialScan::LookAt(size_t position) {
    const wchar_t c = text_[position];
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
    if (families_.formats && !format_) LookAtFormats(position);
    if (families_.labelledSecrets && !labelledSecret_) {
        if (LabelledSecretFinder::IsSeparator(c)) labelledSecret_ = labelled_.AtSeparator(position);
        if (!labelledSecret_ && LabelledSecretFinder::IsLabelEnd(c)) labelledSecret_ = labelled_.AtLabelEnd(position);
    }
}

void CredentialScan::Finish() { EndLine(text_.size()); }

void CredentialScan::EndLine(size_t lineEnd) {
    if (lineColons_ == 4 && families_.labelledSecrets && !labelledSecret_) {
        labelledSecret_ = labelled_.AtLineEnd(lineStart_, lineEnd);
    }
}

void CredentialScan::LookAtFormats(size_t position) {
    for (const CredentialFormat* format : RowsAt(text_[position])) {
        if (!EndsBefore(text_, position, format->before, format->folded) ||
            !StandsAt(text_, position + 1, format->after, format->folded)) {
            continue;
        }
        const size_t begin = position - format->before.size();
        if (format->wordStart && !WordStartsAt(text_, begin)) continue;
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
