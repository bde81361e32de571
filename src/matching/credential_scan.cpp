#include "matching/credential_scan.h"

#include <algorithm>
#include <array>

#include "log/secret_tag.h"
#include "matching/credential_text.h"

namespace veltrano {
namespace {

using namespace credential_text;

CredentialMatch FormatMatch(std::wstring_view text, const CredentialFormat& format, size_t begin, const FormatSpan& span) {
    if (span.begin != credential_text::kNoPlace) begin = span.begin;
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

void CredentialScan::LookAtLabelledSecrets(size_t position) {
    // Built in place: most places find nothing, and an empty result is then all that is made.
    if (std::optional<CredentialMatch> found = LabelledSecretAt(position)) labelledSecret_ = std::move(found);
}

std::optional<CredentialMatch> CredentialScan::LabelledSecretAt(size_t position) {
    const wchar_t c = text_[position];
    if (LabelledSecretFinder::IsSeparator(c)) return labelled_.AtSeparator(position);
    if (LabelledSecretFinder::IsCallOpen(c)) return labelled_.AtCall(position);
    return labelled_.AtLabelEnd(position);
}

void CredentialScan::EndLine(size_t lineEnd) {
    if (lineColons_ == 4 && LooksForLabelledSecrets()) labelledSecret_ = labelled_.AtLineEnd(lineStart_, lineEnd);
    lineStart_ = lineEnd + 1;
    lineColons_ = 0;
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
