#pragma once
// What an identifier of each kind looks like: how many digits, how they may be grouped, the
// Latin letters around them and the digit it may begin with. One row per kind, in the order of
// IdentifierKind, each with the published definition it follows.
#include <cstddef>

#include "matching/card_brands.h"
#include "matching/identifier_kind.h"

namespace veltrano {

enum class Grouping {
    Any,          // whole digit groups joined by the chain's separators
    OneGroup,     // one run of digits
    FourThenSix,  // ten digits in one run, or four and six joined by one separator
};
// The two groups of a Grouping::FourThenSix number written with its separator.
inline constexpr size_t kFirstOfTwoGroups = 4;
inline constexpr size_t kSecondOfTwoGroups = 6;

struct IdentifierShape {
    IdentifierKind kind;
    const wchar_t* name;  // as the warning and the settings page show it
    size_t fewestDigits;
    size_t mostDigits;
    unsigned firstDigits;  // bit n: the first digit may be n
    size_t lettersBefore;  // Latin letters right before the first digit, a word's start before them
    size_t lettersAfter;   // Latin letters right after the last digit, a word's end after them
    Grouping grouping;
    const wchar_t* sample;  // a made-up number of the kind with its label, which the detector must find
};

// The first digits the card networks' issuer prefixes begin with.
constexpr unsigned CardFirstDigits() {
    unsigned digits = 0;
    for (const CardBrandRange& range : kCardBrandRanges) {
        unsigned scale = 1;
        for (unsigned i = 1; i < range.prefixDigits; ++i) scale *= 10;
        for (unsigned digit = range.low / scale; digit <= range.high / scale; ++digit) digits |= 1u << digit;
    }
    return digits;
}

constexpr unsigned kAnyFirstDigit = 0x3FF;

inline constexpr IdentifierShape kIdentifierShapes[] = {
    // The networks' issuer ranges and lengths (card_brands.h), the Luhn sum (ISO/IEC 7812-1).
    {IdentifierKind::PaymentCard, L"支払カード番号", 13, 19, CardFirstDigits(), 0, 0, Grouping::Any,
     L"カード番号 4111 1111 1111 1111"},
    // 番号法の総務省令 (個人番号の検査用数字): eleven digits and a check digit.
    {IdentifierKind::MyNumber, L"個人番号", 12, 12, kAnyFirstDigit, 0, 0, Grouping::Any, L"マイナンバー 1234 5678 9018"},
    // 法人番号の指定等に関する省令 (検査用数字): a check digit (1 to 9) and twelve digits.
    {IdentifierKind::CorporateNumber, L"法人番号", 13, 13, 0x3FE, 0, 0, Grouping::Any, L"法人番号 7000012050002"},
    // 外務省, the passport's data page (旅券番号 "TK1234567"): two letters and seven digits.
    {IdentifierKind::PassportNumber, L"旅券番号", 7, 7, kAnyFirstDigit, 2, 0, Grouping::OneGroup, L"旅券番号 TK1234567"},
    // 運転免許事務取扱要領 (沖縄県警察): 公安委員会コード, 年号記号, 交付番号, チェックデジット and
    // 再交付記号, twelve digits. How the check digit is computed is not published.
    {IdentifierKind::DriverLicenseNumber, L"運転免許証番号", 12, 12, kAnyFirstDigit, 0, 0, Grouping::Any,
     L"免許証番号 3012 3456 7890"},
    // 出入国在留管理庁, 在留カード等番号失効情報照会: two letters, eight digits, two letters.
    {IdentifierKind::ResidenceCardNumber, L"在留カード番号", 8, 8, kAnyFirstDigit, 2, 2, Grouping::OneGroup,
     L"在留カード番号 AB12345678CD"},
    // 日本年金機構: a four-digit office code and a six-digit serial number.
    {IdentifierKind::BasicPensionNumber, L"基礎年金番号", 10, 10, kAnyFirstDigit, 0, 0, Grouping::FourThenSix,
     L"基礎年金番号 1234-567890"},
    // 全国銀行協会, 全銀システム: an account number of seven digits, beside a four-digit bank code
    // and a three-digit branch code.
    {IdentifierKind::BankAccountNumber, L"口座番号", 7, 7, kAnyFirstDigit, 0, 0, Grouping::OneGroup, L"普通 1234567"},
};

constexpr const IdentifierShape& ShapeOf(IdentifierKind kind) { return kIdentifierShapes[static_cast<size_t>(kind)]; }

static_assert([] {
    for (size_t row = 0; row < std::size(kIdentifierShapes); ++row) {
        if (static_cast<size_t>(kIdentifierShapes[row].kind) != row) return false;
    }
    return std::size(kIdentifierShapes) == std::size(kIdentifierKinds);
}(), "one shape per kind, in the kinds' order");

}  // namespace veltrano
