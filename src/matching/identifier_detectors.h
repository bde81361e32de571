#pragma once
// Built-in detectors of real identifiers: payment card numbers (the Luhn sum and the brands'
// prefixes and lengths), Japan's My Number and corporate numbers (their check digits), passport,
// driver's licence, residence card, basic pension and bank account numbers (their shapes), each
// optionally counted only with one of its labels nearby. One pass over the text's digit chains,
// which also hands the credential detectors their places; no regex engine, linear in the text,
// in memory bounded by the longest identifier.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "matching/credential_scan.h"
#include "matching/identifier_kind.h"
#include "matching/identifier_labels.h"

namespace veltrano {

// The detector's name, as the warning and the settings page show it.
const wchar_t* IdentifierName(IdentifierKind kind);

// Whether `digits` (ASCII digits only) is a valid identifier of the kind, its length included.
bool IsValidIdentifier(IdentifierKind kind, std::string_view digits);

// One switched-on detector.
struct IdentifierRule {
    IdentifierKind kind;
    bool needsLabel;  // counted only with one of its labels at most kMaxLabelDistance away
};

struct IdentifierMatch {
    IdentifierRule rule;
    size_t position;  // of the first digit, or of the letters before it
    size_t length;    // to the last digit or the letters after it, separators included
};

// The first rule, in the order given, with a valid candidate, and its leftmost candidate (of two
// at one start, the longer). A candidate is a run of whole consecutive digit groups of one chain,
// grouped and lettered as its kind's shape says (identifier_shapes.h). Digits are 0-9 and their full-width forms. Two groups are joined by one separator: a blank
// (space, ideographic, no-break or narrow no-break space), a hyphen or dash (- ‐ ‑ ‒ – ― − －,
// the long-vowel marks ー ｰ) or a point (. ．); or by a hyphen or dash with one blank before it,
// after it or both. Throws MatchAborted when `deadline` passes first.
std::optional<IdentifierMatch> FindIdentifier(
    std::wstring_view text, const std::vector<IdentifierRule>& rules,
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());

struct DetectorFinds {
    std::optional<IdentifierMatch> identifier;
    std::optional<CredentialMatch> credential;  // the first of the formats, else of the labelled secrets
};

// One pass for every detector: FindIdentifier's find, and the first credential of the families
// switched on. Throws MatchAborted when `deadline` passes first.
DetectorFinds FindDetected(std::wstring_view text, const std::vector<IdentifierRule>& rules,
                           CredentialFamilies credentials,
                           std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());

// A detected number as a warning may show it: every letter and every digit but the last four as
// "*" (ASCII) or "＊" (full-width), every separator as it stands.
std::wstring MaskedNumber(std::wstring_view number);
// The last four digits of a detected number, without separators.
std::wstring LastFourDigits(std::wstring_view number);

}  // namespace veltrano
