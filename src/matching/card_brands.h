#pragma once
// The payment card networks' issuer prefixes, each with the number lengths issued under it. A
// card number is accepted when any row takes it (rows may overlap).
#include <initializer_list>
#include <string_view>

namespace veltrano {

// Bit n set: n-digit numbers are issued.
constexpr unsigned CardLengths(unsigned shortest, unsigned longest) {
    unsigned lengths = 0;
    for (unsigned n = shortest; n <= longest; ++n) lengths |= 1u << n;
    return lengths;
}
constexpr unsigned CardLengthsOnly(std::initializer_list<unsigned> allowed) {
    unsigned lengths = 0;
    for (const unsigned n : allowed) lengths |= 1u << n;
    return lengths;
}

struct CardBrandRange {
    unsigned prefixDigits;  // the first digits compared
    unsigned low;           // inclusive range of those digits
    unsigned high;
    unsigned lengths;
};

inline constexpr CardBrandRange kCardBrandRanges[] = {
    // Visa: 4; 16 digits, 13 on old cards, 19 since 2014 (Visa's issuer identification ranges).
    {1, 4, 4, CardLengthsOnly({13, 16, 19})},
    // Mastercard: 51-55, and 2221-2720 since 2017 (Mastercard's 2-series announcement); 16 digits.
    {2, 51, 55, CardLengths(16, 16)},
    {4, 2221, 2720, CardLengths(16, 16)},
    // American Express: 34 and 37; 15 digits (ISO/IEC 7812 register, American Express).
    {2, 34, 34, CardLengths(15, 15)},
    {2, 37, 37, CardLengths(15, 15)},
    // JCB: 3528-3589; 16 to 19 digits (JCB's IIN range).
    {4, 3528, 3589, CardLengths(16, 19)},
    // Diners Club International: 300-305, 3095, 36, 38-39; 14 to 19 digits (Discover Global
    // Network IIN ranges, which carry Diners Club).
    {3, 300, 305, CardLengths(14, 19)},
    {4, 3095, 3095, CardLengths(14, 19)},
    {2, 36, 36, CardLengths(14, 19)},
    {2, 38, 39, CardLengths(14, 19)},
    // Discover: 6011, 644-649, 65, and the UnionPay co-branded 622126-622925; 16 to 19 digits
    // (Discover Global Network IIN ranges).
    {4, 6011, 6011, CardLengths(16, 19)},
    {3, 644, 649, CardLengths(16, 19)},
    {2, 65, 65, CardLengths(16, 19)},
    {6, 622126, 622925, CardLengths(16, 19)},
    // UnionPay: 62 and 81; 16 to 19 digits (UnionPay International's card BIN ranges).
    {2, 62, 62, CardLengths(16, 19)},
    {2, 81, 81, CardLengths(16, 19)},
    // Mir: 2200-2204; 16 to 19 digits (the national payment card system NSPK).
    {4, 2200, 2204, CardLengths(16, 19)},
    // Maestro: 5018, 5020, 5038, 5893, 6304, 6759, 6761-6763; 13 to 19 digits (Mastercard's
    // Maestro BIN ranges).
    {4, 5018, 5018, CardLengths(13, 19)},
    {4, 5020, 5020, CardLengths(13, 19)},
    {4, 5038, 5038, CardLengths(13, 19)},
    {4, 5893, 5893, CardLengths(13, 19)},
    {4, 6304, 6304, CardLengths(13, 19)},
    {4, 6759, 6759, CardLengths(13, 19)},
    {4, 6761, 6763, CardLengths(13, 19)},
};

// Whether a row takes `digits` (ASCII digits, its length included); no check digit is looked at.
constexpr bool CardBrandAccepts(std::string_view digits) {
    for (const CardBrandRange& range : kCardBrandRanges) {
        if (digits.size() < range.prefixDigits || digits.size() >= 32 || !(range.lengths >> digits.size() & 1u)) continue;
        unsigned prefix = 0;
        for (unsigned i = 0; i < range.prefixDigits; ++i) prefix = prefix * 10 + static_cast<unsigned>(digits[i] - '0');
        if (prefix >= range.low && prefix <= range.high) return true;
    }
    return false;
}

}  // namespace veltrano
