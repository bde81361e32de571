#pragma once
// The credential detectors' side of the detectors' one pass over a text: the pass stops at the
// anchor characters below and hands each place here; both families look at it within a bounded
// distance, and each keeps its first find.
#include <array>
#include <optional>
#include <string_view>

#include "matching/credential_formats.h"
#include "matching/credential_text.h"
#include "matching/format_index.h"
#include "matching/labelled_secrets.h"

namespace veltrano {

// Every character a credential row or label is found at: the format rows' anchors, the labelled
// secrets' separators, call brackets and label ends, and the line break that closes a line shape.
constexpr bool IsCredentialAnchor(wchar_t c) {
    return IsFormatAnchor(c) || LabelledSecretFinder::IsSeparator(c) || LabelledSecretFinder::IsCallOpen(c) ||
           LabelledSecretFinder::IsLabelEnd(c) || c == L'\n';
}

struct CredentialFamilies {
    bool formats = false;
    bool labelledSecrets = false;
    bool Any() const { return formats || labelledSecrets; }
};

class CredentialScan {
public:
    CredentialScan(std::wstring_view text, CredentialFamilies families);

    // Whether the anchor letter at `position` stands inside a word where everything anchored at
    // it needs one to begin ("AKIA…" at its "A", "eyJ…" two before its "J", "passw…" four before
    // its "w"): most such letters of a text, which the scan then passes without a call.
    bool InsideAWord(size_t position) const {
        const unsigned char distance = kWordStartDistance[text_[position] & 0x7F];
        return distance != kNoWordStart && position > distance &&
               credential_text::IsWordChar(text_[position - distance - 1]);
    }
    // `position` holds an anchor character; places are handed in the text's order. Most are ruled
    // out here by the characters beside them, without a call.
    void LookAt(size_t position) {
        const wchar_t c = text_[position];
        if (c == L'\n') return EndLine(position);
        if (c == L':' && lineColons_++ == 0 && LooksForFormats()) LookAtPasswordFileLine(position);
        if (LooksForFormats() && !kFormatIndex.RowsAt(text_, position).empty()) LookAtFormats(position);
        if (LooksForLabelledSecrets() && labelled_.MayMatterAt(position)) LookAtLabelledSecrets(position);
    }
    // The text has ended: its last line is closed.
    void Finish() { EndLine(text_.size()); }
    // Every family switched on has its find: nothing later can change the result.
    bool Done() const { return (!families_.formats || format_) && (!families_.labelledSecrets || labelledSecret_); }
    // The formats' first find, else the labelled secrets'.
    std::optional<CredentialMatch> Found() const;

private:
    static constexpr unsigned char kNoWordStart = 0xFF;
    // For an anchor letter, how many characters before it a word must begin; else kNoWordStart.
    static const std::array<unsigned char, 128> kWordStartDistance;

    bool LooksForFormats() const { return families_.formats && !format_; }
    bool LooksForLabelledSecrets() const { return families_.labelledSecrets && !labelledSecret_; }
    void LookAtFormats(size_t position);
    void LookAtLabelledSecrets(size_t position);
    // At a place MayMatterAt lets through: a separator, a call's bracket or a label's end.
    std::optional<CredentialMatch> LabelledSecretAt(size_t position);
    void LookAtPasswordFileLine(size_t colon);
    void EndLine(size_t lineEnd);

    std::wstring_view text_;
    CredentialFamilies families_;
    FormatMemo memo_;
    LabelledSecretFinder labelled_;
    std::optional<CredentialMatch> format_;
    std::optional<CredentialMatch> labelledSecret_;
    size_t lineStart_ = 0;
    size_t lineColons_ = 0;
};

}  // namespace veltrano
