#pragma once
// Credentials whose value says what it is: one row per format, found where the scan stops at the
// row's anchor character with the row's literals beside it, then read on by the row's check. Each
// row names the published source of its shape; prefixes and checksums are the issuers' own.
#include <optional>
#include <span>
#include <string_view>

#include "matching/credential_kind.h"
#include "matching/credential_text.h"

namespace veltrano {

// What the checks keep between places of one text so that no stretch is read twice: each
// remembers how far it searched and what it found there.
struct FormatMemo {
    struct Search {
        size_t searchedTo = 0;
        size_t foundAt = credential_text::kNoPlace;
    };
    Search pemEnd;        // "-----END "
    Search privateLines;  // a PuTTY key's "Private-Lines: "
    size_t webTokenRunEnd = 0;  // the end of the last run read as a token's first part
};

struct FormatSpan {
    size_t shownEnd;  // the text up to here may be shown: a published prefix or an armour line
    size_t end;       // of the secret
    size_t begin = credential_text::kNoPlace;  // set when the match begins before the prefix
};

// From the beginning of the prefix (`begin`) and its end (`prefixEnd`): the span, or nothing.
using FormatCheck = std::optional<FormatSpan> (*)(std::wstring_view text, size_t begin, size_t prefixEnd,
                                                  FormatMemo& memo);

struct CredentialFormat {
    CredentialKind kind;
    wchar_t anchor;            // where the scan stops
    std::wstring_view before;  // stands right before the anchor
    std::wstring_view after;   // stands right after it
    bool folded;               // the literals match in any ASCII case and width
    bool wordStart;            // nothing of a word stands before the prefix
    FormatCheck check;
};

// The characters format rows are anchored at.
constexpr bool IsFormatAnchor(wchar_t c) {
    switch (c) {
        case L'-': case L'$': case L'{': case L'A': case L'=': case L'_': case L':': case L'J':
            return true;
        default:
            return false;
    }
}

// Every row, in the order they are tried at one place.
std::span<const CredentialFormat> CredentialFormats();

// The CRC-32 (ISO-HDLC, as zlib) of ASCII text.
unsigned Crc32(std::wstring_view ascii);

}  // namespace veltrano
