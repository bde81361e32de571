// The detectors against the rules as this test computes them with its own arithmetic, on
// generated digit strings in every grouping and width, and the label distance at its limit.
#include "matching/identifier_detectors.h"

#include <gtest/gtest.h>

#include "matching/card_brands.h"

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/plain_regex.h"

namespace veltrano {
namespace {

using test::Printable;

// Luhn by the doubled-digit table.
bool Luhn(const std::string& digits) {
    static constexpr int kDoubled[] = {0, 2, 4, 6, 8, 1, 3, 5, 7, 9};
    int sum = 0;
    bool doubled = false;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, doubled = !doubled) sum += doubled ? kDoubled[*it - '0'] : *it - '0';
    return sum % 10 == 0;
}

// The range's prefixes as text, compared as text.
bool BrandHolds(const CardBrandRange& range, const std::string& digits) {
    const std::string prefix = digits.substr(0, range.prefixDigits);
    const auto text = [&](unsigned value) {
        std::string padded = std::to_string(value);
        return std::string(range.prefixDigits - padded.size(), '0') + padded;
    };
    return prefix >= text(range.low) && prefix <= text(range.high) && (range.lengths >> digits.size() & 1u);
}

bool ValidCard(const std::string& digits) {
    if (digits.size() < 13 || digits.size() > 19 || !Luhn(digits)) return false;
    for (const CardBrandRange& range : kCardBrandRanges) {
        if (BrandHolds(range, digits)) return true;
    }
    return false;
}

char MyNumberCheck(const std::string& first11) {
    int sum = 0;
    for (int n = 1; n <= 11; ++n) {
        const int q = n <= 6 ? n + 1 : n - 5;  // weights counted from the right: 2..7, then 2..6
        sum += (first11[static_cast<size_t>(11 - n)] - '0') * q;
    }
    const int r = sum % 11;
    return static_cast<char>('0' + (r <= 1 ? 0 : 11 - r));
}

char CorporateCheck(const std::string& last12) {
    int sum = 0;
    for (size_t i = 0; i < 12; ++i) sum += (last12[i] - '0') * ((12 - i) % 2 == 1 ? 1 : 2);
    return static_cast<char>('0' + 9 - sum % 9);
}

bool Valid(IdentifierKind kind, const std::string& digits) {
    switch (kind) {
        case IdentifierKind::PaymentCard: return ValidCard(digits);
        case IdentifierKind::MyNumber: return digits.size() == 12 && MyNumberCheck(digits.substr(0, 11)) == digits[11];
        case IdentifierKind::CorporateNumber:
            return digits.size() == 13 && digits[0] != '0' && CorporateCheck(digits.substr(1)) == digits[0];
        case IdentifierKind::PassportNumber: return digits.size() == 7;
        case IdentifierKind::DriverLicenseNumber: return digits.size() == 12;
        case IdentifierKind::ResidenceCardNumber: return digits.size() == 8;
        case IdentifierKind::BasicPensionNumber: return digits.size() == 10;
        case IdentifierKind::BankAccountNumber: return digits.size() == 7;
    }
    return false;
}

// The groups a kind's number stands in, from the sizes of the candidate's groups.
bool GroupedAs(IdentifierKind kind, const std::vector<size_t>& sizes) {
    switch (kind) {
        case IdentifierKind::PassportNumber:
        case IdentifierKind::ResidenceCardNumber:
        case IdentifierKind::BankAccountNumber: return sizes.size() == 1;
        case IdentifierKind::BasicPensionNumber: return sizes.size() == 1 || (sizes.size() == 2 && sizes[0] == 4);
        default: return true;
    }
}

bool IsLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'Ａ' && c <= L'Ｚ') || (c >= L'ａ' && c <= L'ｚ');
}
bool IsLetterOrDigit(wchar_t c) { return IsLetter(c) || (c >= L'0' && c <= L'9') || (c >= L'０' && c <= L'９'); }

// The letters a kind's number has before and after its digits.
std::pair<size_t, size_t> LettersOf(IdentifierKind kind) {
    if (kind == IdentifierKind::PassportNumber) return {2, 0};
    if (kind == IdentifierKind::ResidenceCardNumber) return {2, 2};
    return {0, 0};
}

// The span of the digits from `begin` to `end` with the kind's letters around them, if they stand there.
std::optional<std::pair<size_t, size_t>> WithLetters(IdentifierKind kind, const std::wstring& text, size_t begin, size_t end) {
    const auto [before, after] = LettersOf(kind);
    // Numbers in one or two fixed groups stand as words of their own; the others among letters too.
    const bool fixedGroups = !GroupedAs(kind, {1, 1, 1});
    if (before == 0 && after == 0 && !fixedGroups) return std::pair{begin, end};
    if (begin < before || end + after > text.size()) return std::nullopt;
    for (size_t at = begin - before; at < begin; ++at) if (!IsLetter(text[at])) return std::nullopt;
    for (size_t at = end; at < end + after; ++at) if (!IsLetter(text[at])) return std::nullopt;
    if (begin > before && IsLetterOrDigit(text[begin - before - 1])) return std::nullopt;
    if (end + after < text.size() && IsLetterOrDigit(text[end + after])) return std::nullopt;
    return std::pair{begin - before, end + after};
}

class Generator {
public:
    size_t Below(size_t n) { return static_cast<size_t>(engine_() % n); }
    std::string Digits(size_t n) {
        std::string digits;
        for (size_t i = 0; i < n; ++i) digits += static_cast<char>('0' + Below(10));
        return digits;
    }

    // Random, or built valid for one of the detectors.
    std::string Number() {
        switch (Below(4)) {
            case 0: return Digits(1 + Below(22));
            case 1: {
                const std::string first = Digits(11);
                return first + MyNumberCheck(first);
            }
            case 2: {
                const std::string last = Digits(12);
                return CorporateCheck(last) + last;
            }
            default: {
                const CardBrandRange& range = kCardBrandRanges[Below(std::size(kCardBrandRanges))];
                size_t length = 13 + Below(7);
                while (!(range.lengths >> length & 1u)) length = 13 + Below(7);
                const std::string low = std::to_string(range.low);
                std::string digits = low + Digits(length - low.size());
                for (char check = '0'; check <= '9'; ++check) {
                    digits.back() = check;
                    if (Luhn(digits)) break;
                }
                return digits;
            }
        }
    }

    // Split into groups of 1 to 6 digits (or not at all).
    std::vector<std::string> Groups(const std::string& digits) {
        std::vector<std::string> groups;
        for (size_t at = 0; at < digits.size();) {
            const size_t size = Below(3) == 0 ? digits.size() - at : std::min(digits.size() - at, 1 + Below(6));
            groups.push_back(digits.substr(at, size));
            at += size;
        }
        return groups;
    }

    // One separator, or a hyphen with one blank before, after or on both sides.
    std::wstring Separator() {
        static constexpr wchar_t kBlanks[] = {L' ', L'\u3000', L'\u00A0', L'\u202F'};
        static constexpr wchar_t kHyphens[] = {L'-', L'\u2010', L'\u2011', L'\u2012', L'\u2013', L'\u2015',
                                               L'\u2212', L'\uFF0D', L'\u30FC', L'\uFF70'};
        static constexpr wchar_t kPoints[] = {L'.', L'\uFF0E'};
        const auto blank = [&] { return kBlanks[Below(std::size(kBlanks))]; };
        const wchar_t hyphen = kHyphens[Below(std::size(kHyphens))];
        switch (Below(6)) {
            case 0: return {blank()};
            case 1: return {kPoints[Below(std::size(kPoints))]};
            case 2: return {blank(), hyphen};
            case 3: return {hyphen, blank()};
            case 4: return {blank(), hyphen, blank()};
            default: return {hyphen};
        }
    }
    // What ends a chain: two blanks, a tab, two hyphens, a letter.
    std::wstring ChainBreak() {
        static constexpr const wchar_t* kBreaks[] = {L"  ", L"\u00A0\u3000", L"\t", L" -\u30FC", L"--", L"x"};
        return kBreaks[Below(std::size(kBreaks))];
    }
    // A label as people write it (any width, half-width katakana), or none; its kind.
    std::pair<std::wstring, std::optional<IdentifierKind>> Label() {
        static const std::pair<const wchar_t*, IdentifierKind> kLabels[] = {
            {L"ｶｰﾄﾞ番号", IdentifierKind::PaymentCard},     {L"ＣＡＲＤ　ＮＵＭＢＥＲ", IdentifierKind::PaymentCard},
            {L"ﾏｲﾅﾝﾊﾞｰ", IdentifierKind::MyNumber},         {L"個人番号", IdentifierKind::MyNumber},
            {L"ﾎｳｼﾞﾝ 法人番号", IdentifierKind::CorporateNumber}, {L"Corporate Number", IdentifierKind::CorporateNumber},
            {L"旅券番号", IdentifierKind::PassportNumber},   {L"ＰＡＳＳＰＯＲＴ　ＮＯ.", IdentifierKind::PassportNumber},
            {L"運転免許証", IdentifierKind::DriverLicenseNumber}, {L"ﾒﾝｷｮ 免許番号", IdentifierKind::DriverLicenseNumber},
            {L"在留ｶｰﾄﾞ", IdentifierKind::ResidenceCardNumber}, {L"基礎年金番号", IdentifierKind::BasicPensionNumber},
            {L"口座番号", IdentifierKind::BankAccountNumber}, {L"普通", IdentifierKind::BankAccountNumber},
        };
        if (Below(2) == 0) return {L"", std::nullopt};
        const auto& [text, kind] = kLabels[Below(std::size(kLabels))];
        return {text + std::wstring(L": "), kind};
    }
    // Latin letters that begin or end a number, or none: none of them spells a label.
    std::wstring Letters() {
        static constexpr std::wstring_view kLetters = L"ABDEFGHJKMNPQRSTUWXYZabdkmpqzＡＢＴＫｔｋ";
        std::wstring letters;
        for (size_t count = Below(3) == 0 ? 0 : 1 + Below(3); count > 0; --count) letters += kLetters[Below(kLetters.size())];
        return letters;
    }
    wchar_t Digit(char digit) { return Below(2) ? static_cast<wchar_t>(digit) : static_cast<wchar_t>(0xFF10 + (digit - '0')); }

private:
    std::mt19937 engine_{2026};
};

struct Expected {
    size_t position;
    size_t length;
};

TEST(IdentifierDetectors, ReportExactlyTheValidNumbersInEveryGroupingAndWidth) {
    Generator generate;
    int valid = 0;
    int failures = 0;
    for (int round = 0; round < 200000 && failures < 10; ++round) {
        const std::vector<std::string> groups = generate.Groups(generate.Number());
        // "x " (or a label) before and " y" after: no digit joins the chain from outside.
        const auto [label, labelKind] = generate.Label();
        std::wstring text = L"x " + label + generate.Letters();
        std::vector<Expected> spans;     // where each group stands
        std::vector<size_t> chainEnds;   // the group after the last of each group's chain
        for (size_t g = 0; g < groups.size(); ++g) {
            const bool joined = generate.Below(10) != 0;
            if (g > 0) text += joined ? generate.Separator() : generate.ChainBreak();
            if (g > 0 && !joined) chainEnds.resize(g, g);
            spans.push_back({text.size(), groups[g].size()});
            for (const char digit : groups[g]) text += generate.Digit(digit);
        }
        chainEnds.resize(groups.size(), groups.size());
        text += generate.Letters() + L" y";
        for (const IdentifierKind kind : kIdentifierKinds) {
            // With the label rule, only a number after its own label counts.
            const bool needsLabel = generate.Below(2) == 0;
            const bool counts = !needsLabel || labelKind == kind;
            std::optional<Expected> expected;
            for (size_t first = 0; counts && first < groups.size() && !expected; ++first) {
                std::string digits;
                std::vector<size_t> sizes;
                for (size_t last = first; last < chainEnds[first]; ++last) {
                    digits += groups[last];
                    sizes.push_back(groups[last].size());
                }
                for (size_t end = chainEnds[first]; end > first && !expected; --end) {
                    const auto span = WithLetters(kind, text, spans[first].position, spans[end - 1].position + spans[end - 1].length);
                    if (Valid(kind, digits) && GroupedAs(kind, sizes) && span) expected = Expected{span->first, span->second - span->first};
                    digits.resize(digits.size() - groups[end - 1].size());
                    sizes.pop_back();
                }
            }
            const std::optional<IdentifierMatch> found = FindIdentifier(text, {{kind, needsLabel}});
            valid += expected.has_value();
            const bool same = found.has_value() == expected.has_value() &&
                              (!found || (found->position == expected->position && found->length == expected->length));
            if (!same && ++failures <= 10) {
                ADD_FAILURE() << IdentifierName(kind) << " on \"" << Printable(text) << "\": expected "
                              << (expected ? std::to_string(expected->position) + "+" + std::to_string(expected->length) : "none")
                              << ", found "
                              << (found ? std::to_string(found->position) + "+" + std::to_string(found->length) : "none");
            }
        }
    }
    EXPECT_GT(valid, 50000) << "many generated numbers are built valid and labelled";
}

TEST(IdentifierDetectors, ExamplesAndTheOrderOfTheRules) {
    EXPECT_TRUE(IsValidIdentifier(IdentifierKind::MyNumber, "123456789018"));
    EXPECT_TRUE(IsValidIdentifier(IdentifierKind::MyNumber, "271828182840"));
    EXPECT_FALSE(IsValidIdentifier(IdentifierKind::MyNumber, "123456789012"));
    EXPECT_TRUE(IsValidIdentifier(IdentifierKind::CorporateNumber, "7000012050002"));
    EXPECT_FALSE(IsValidIdentifier(IdentifierKind::CorporateNumber, "7000012050003"));
    EXPECT_TRUE(IsValidIdentifier(IdentifierKind::PaymentCard, "4111111111111111"));

    // A card after a date: the date's groups are no part of it.
    const std::wstring dated = L"2026 12 07 4111 1111 1111 1111";
    const std::optional<IdentifierMatch> card = FindIdentifier(dated, {{IdentifierKind::PaymentCard, false}});
    ASSERT_TRUE(card);
    EXPECT_EQ(dated.substr(card->position, card->length), L"4111 1111 1111 1111");
    // The rules' order decides, not the place in the text.
    const std::wstring both = L"法人 7000012050002 card 4111111111111111";
    const std::optional<IdentifierMatch> first =
        FindIdentifier(both, {{IdentifierKind::PaymentCard, false}, {IdentifierKind::CorporateNumber, false}});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->rule.kind, IdentifierKind::PaymentCard);
    EXPECT_EQ(FindIdentifier(L"4111111111111111", {}), std::nullopt);
}

// At most 300 characters between label and number, on either side, also at the ends of a long
// chain; Latin labels in any case or width, half-width katakana as full-width.
TEST(IdentifierDetectors, ALabelCountsUpTo300CharactersAway) {
    const std::wstring number = L"1234 5678 9018";
    std::wstring ones;  // a chain of 400 characters
    for (int i = 0; i < 200; ++i) ones += L"1 ";
    struct Row {
        IdentifierKind kind;
        std::wstring text;
        bool found;
    };
    const Row rows[] = {
        {IdentifierKind::MyNumber, L"マイナンバー" + std::wstring(300, L'.') + number, true},
        {IdentifierKind::MyNumber, L"マイナンバー" + std::wstring(301, L'.') + number, false},
        {IdentifierKind::MyNumber, number + std::wstring(300, L'.') + L"個人番号", true},
        {IdentifierKind::MyNumber, number + std::wstring(301, L'.') + L"個人番号", false},
        {IdentifierKind::MyNumber, L"ＭＹ　Ｎｕｍｂｅｒ: " + number, true},
        {IdentifierKind::MyNumber, L"注文番号 123456789018", false},
        {IdentifierKind::MyNumber, L"マイナンバー：１２３４ ５６７８ ９０１８", true},
        {IdentifierKind::MyNumber, L"法人番号 " + number, false},
        {IdentifierKind::MyNumber, L"ﾏｲﾅﾝﾊﾞｰ: 1234.5678.9018", true},
        {IdentifierKind::MyNumber, L"ﾏｲﾅﾝﾊﾟｰ: " + number, false},
        {IdentifierKind::MyNumber, L"マイナンハ\u3099ー " + number, true},
        {IdentifierKind::PaymentCard, L"ｶｰﾄﾞ番号 ４１１１ー１１１１ー１１１１ー１１１１", true},
        {IdentifierKind::MyNumber, L"個人番号 " + number + L" " + ones, true},
        {IdentifierKind::MyNumber, ones + number + L" 個人番号", true},
        {IdentifierKind::MyNumber, L"個人番号 " + ones + number + L" " + ones + L"個人番号", false},
        {IdentifierKind::PassportNumber, L"旅券番号" + std::wstring(300, L'.') + L"ＴＫ１２３４５６７", true},
        {IdentifierKind::PassportNumber, L"旅券番号" + std::wstring(301, L'.') + L"TK1234567", false},
        {IdentifierKind::ResidenceCardNumber, L"AB12345678CD" + std::wstring(300, L'.') + L"在留番号", true},
        {IdentifierKind::ResidenceCardNumber, L"AB12345678CD" + std::wstring(301, L'.') + L"在留番号", false},
        {IdentifierKind::BasicPensionNumber, L"年金番号：1234－567890", true},
        {IdentifierKind::BasicPensionNumber, L"年金番号：123456－7890", false},
        {IdentifierKind::BankAccountNumber, L"三井住友銀行 0009 新宿支店 221 普通 1234567", true},
        {IdentifierKind::BankAccountNumber, L"口座番号 123 4567", false},
        {IdentifierKind::DriverLicenseNumber, L"免許証番号：第 3012 3456 7890 号", true},
        {IdentifierKind::PassportNumber, L"nopassport TK1234567", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FindIdentifier(row.text, {{row.kind, true}}).has_value(), row.found) << Printable(row.text.substr(0, 40));
    }
}

}  // namespace
}  // namespace veltrano
