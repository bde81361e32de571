#pragma once
// Built-in detectors of real identifiers: payment card numbers (the Luhn sum and the brands'
// prefixes and lengths), Japan's My Number and corporate numbers (their check digits), each
// optionally counted only with one of its labels nearby. One pass over the text's digit chains,
// no regex engine, linear in the text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano {

enum class IdentifierKind { PaymentCard, MyNumber, CorporateNumber };

// In the order the detectors are asked.
inline constexpr IdentifierKind kIdentifierKinds[] = {IdentifierKind::PaymentCard, IdentifierKind::MyNumber,
                                                      IdentifierKind::CorporateNumber};

// The detector's name, as the warning and the settings page show it.
const wchar_t* IdentifierName(IdentifierKind kind);

// Whether `digits` (ASCII digits only) is a valid identifier of the kind, its length included.
bool IsValidIdentifier(IdentifierKind kind, std::string_view digits);

// One switched-on detector.
struct IdentifierRule {
    IdentifierKind kind;
    bool needsLabel;  // counted only with one of its labels at most kMaxLabelDistance away
};

// Characters between a label and its number, neither counted.
inline constexpr size_t kMaxLabelDistance = 300;

struct IdentifierMatch {
    IdentifierRule rule;
    size_t position;  // of the first digit
    size_t length;    // to the last digit, separators included
};

// The first rule, in the order given, with a valid candidate, and its leftmost candidate (of two
// at one start, the longer). A candidate is a run of whole consecutive digit groups of one chain:
// digits are 0-9 and their full-width forms; groups joined by one space, ideographic space or
// hyphen form a chain.
std::optional<IdentifierMatch> FindIdentifier(std::wstring_view text, const std::vector<IdentifierRule>& rules);

}  // namespace veltrano
