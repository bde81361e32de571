#include "matching/identifier_detectors.h"

#include <algorithm>
#include <array>
#include <bitset>

namespace veltrano {
namespace {

constexpr size_t kMaxIdentifierDigits = 19;

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'\uFF10' && c <= L'\uFF19') return c - L'\uFF10';  // full-width
    return -1;
}

bool IsDigit(wchar_t c) { return DigitValue(c) >= 0; }

bool IsSeparator(wchar_t c) {
    switch (c) {
        case L' ': case L'\u3000': case L'-': case L'\u2010': case L'\u2011': case L'\u2012': case L'\u2013':
        case L'\u2212': case L'\uFF0D':
            return true;
        default:
            return false;
    }
}

int Prefix(std::string_view digits, size_t length) {
    int value = 0;
    for (size_t i = 0; i < length && i < digits.size(); ++i) value = value * 10 + (digits[i] - '0');
    return value;
}

bool LuhnValid(std::string_view digits) {
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i) {
        int value = digits[digits.size() - 1 - i] - '0';
        if (i % 2 == 1) value = value * 2 > 9 ? value * 2 - 9 : value * 2;
        sum += value;
    }
    return sum % 10 == 0;
}

// The issuers' prefixes, each with the lengths it issues.
bool CardBrandAccepts(std::string_view digits) {
    const size_t n = digits.size();
    const int p2 = Prefix(digits, 2);
    const int p3 = Prefix(digits, 3);
    const int p4 = Prefix(digits, 4);
    const int p6 = Prefix(digits, 6);
    const bool sixteenToNineteen = n >= 16 && n <= 19;
    if (digits[0] == '4') return n == 13 || n == 16 || n == 19;
    if ((p2 >= 51 && p2 <= 55) || (p4 >= 2221 && p4 <= 2720)) return n == 16;
    if (p2 == 34 || p2 == 37) return n == 15;
    if (p4 >= 3528 && p4 <= 3589) return sixteenToNineteen;
    if ((p3 >= 300 && p3 <= 305) || p4 == 3095 || p2 == 36 || p2 == 38 || p2 == 39) return n >= 14 && n <= 19;
    if (p4 == 6011 || (p3 >= 644 && p3 <= 649) || p2 == 65 || (p6 >= 622126 && p6 <= 622925)) return sixteenToNineteen;
    if (p2 == 62) return sixteenToNineteen;
    return false;
}

bool MyNumberValid(std::string_view digits) {
    if (digits.size() != 12) return false;
    static constexpr int kWeights[] = {6, 5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    for (size_t i = 0; i < 11; ++i) sum += (digits[i] - '0') * kWeights[i];
    const int remainder = sum % 11;
    return digits[11] - '0' == (remainder <= 1 ? 0 : 11 - remainder);
}

bool CorporateNumberValid(std::string_view digits) {
    if (digits.size() != 13 || digits[0] == '0') return false;
    int sum = 0;
    for (size_t n = 1; n <= 12; ++n) sum += (digits[13 - n] - '0') * (n % 2 == 1 ? 1 : 2);
    return digits[0] - '0' == 9 - sum % 9;
}

bool DigitCountFits(IdentifierKind kind, size_t count) {
    switch (kind) {
        case IdentifierKind::PaymentCard: return count >= 13 && count <= 19;
        case IdentifierKind::MyNumber: return count == 12;
        case IdentifierKind::CorporateNumber: return count == 13;
    }
    return false;
}

struct Label {
    IdentifierKind kind;
    std::wstring_view text;  // Latin ones in lower case
};

constexpr Label kLabels[] = {
    {IdentifierKind::PaymentCard, L"クレジットカード"},   {IdentifierKind::PaymentCard, L"カード番号"},
    {IdentifierKind::PaymentCard, L"カードナンバー"},     {IdentifierKind::PaymentCard, L"クレカ"},
    {IdentifierKind::PaymentCard, L"有効期限"},           {IdentifierKind::PaymentCard, L"セキュリティコード"},
    {IdentifierKind::PaymentCard, L"card number"},        {IdentifierKind::PaymentCard, L"credit card"},
    {IdentifierKind::PaymentCard, L"cvv"},                {IdentifierKind::PaymentCard, L"cvc"},
    {IdentifierKind::MyNumber, L"マイナンバー"},          {IdentifierKind::MyNumber, L"個人番号"},
    {IdentifierKind::MyNumber, L"共通番号"},              {IdentifierKind::MyNumber, L"通知カード"},
    {IdentifierKind::MyNumber, L"my number"},             {IdentifierKind::CorporateNumber, L"法人番号"},
    {IdentifierKind::CorporateNumber, L"corporate number"},
};

// Latin letters and spaces without regard to case or width.
wchar_t FoldForLabel(wchar_t c) {
    if (c >= L'\uFF01' && c <= L'\uFF5E') c = static_cast<wchar_t>(c - 0xFEE0);
    if (c == L'\u3000') c = L' ';
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
    return c;
}

// Where each kind's labels stand, found in one pass when a candidate first asks.
class LabelIndex {
public:
    explicit LabelIndex(std::wstring_view text) : text_(text) {}

    // A label of the kind ends at most kMaxLabelDistance characters before `begin`, or starts at
    // most that many after `end`.
    bool Near(IdentifierKind kind, size_t begin, size_t end) {
        if (!indexed_) Index();
        const Spans& spans = spans_[static_cast<size_t>(kind)];
        const auto after = std::lower_bound(spans.starts.begin(), spans.starts.end(), end);
        if (after != spans.starts.end() && *after - end <= kMaxLabelDistance) return true;
        const auto before = std::upper_bound(spans.ends.begin(), spans.ends.end(), begin);
        return before != spans.ends.begin() && begin - *std::prev(before) <= kMaxLabelDistance;
    }

private:
    struct Spans {
        std::vector<size_t> starts;
        std::vector<size_t> ends;
    };

    void Index() {
        indexed_ = true;
        static const std::bitset<0x10000> kFirstCharacters = [] {
            std::bitset<0x10000> first;
            for (const Label& label : kLabels) first.set(label.text.front());
            return first;
        }();
        for (size_t position = 0; position < text_.size(); ++position) {
            const wchar_t first = FoldForLabel(text_[position]);
            if (!kFirstCharacters[first]) continue;
            for (const Label& label : kLabels) {
                if (label.text.front() != first || !LabelAt(label.text, position)) continue;
                Spans& spans = spans_[static_cast<size_t>(label.kind)];
                spans.starts.push_back(position);
                spans.ends.push_back(position + label.text.size());
            }
        }
        for (Spans& spans : spans_) std::sort(spans.ends.begin(), spans.ends.end());
    }

    bool LabelAt(std::wstring_view label, size_t position) const {
        if (text_.size() - position < label.size()) return false;
        for (size_t i = 1; i < label.size(); ++i) {
            if (FoldForLabel(text_[position + i]) != label[i]) return false;
        }
        return true;
    }

    std::wstring_view text_;
    bool indexed_ = false;
    std::array<Spans, std::size(kIdentifierKinds)> spans_;
};

struct DigitGroup {
    size_t begin;
    size_t end;
};

// The leftmost (then longest) candidate of `rule` in one chain that counts, if any.
std::optional<IdentifierMatch> FirstInChain(std::wstring_view text, const std::vector<DigitGroup>& chain,
                                            const IdentifierRule& rule, LabelIndex& labels) {
    std::string digits;
    for (size_t first = 0; first < chain.size(); ++first) {
        size_t count = 0;
        size_t last = first;
        // The groups a candidate from `first` may take: at most kMaxIdentifierDigits digits.
        while (last < chain.size() && count + (chain[last].end - chain[last].begin) <= kMaxIdentifierDigits) {
            count += chain[last].end - chain[last].begin;
            ++last;
        }
        for (size_t end = last; end > first; --end) {
            if (!DigitCountFits(rule.kind, count)) {
                count -= chain[end - 1].end - chain[end - 1].begin;
                continue;
            }
            digits.clear();
            for (size_t group = first; group < end; ++group) {
                for (size_t i = chain[group].begin; i < chain[group].end; ++i) {
                    digits += static_cast<char>('0' + DigitValue(text[i]));
                }
            }
            const size_t begin = chain[first].begin;
            const size_t stop = chain[end - 1].end;
            if (IsValidIdentifier(rule.kind, digits) && (!rule.needsLabel || labels.Near(rule.kind, begin, stop))) {
                return IdentifierMatch{rule, begin, stop - begin};
            }
            count -= chain[end - 1].end - chain[end - 1].begin;
        }
    }
    return std::nullopt;
}

}  // namespace

const wchar_t* IdentifierName(IdentifierKind kind) {
    switch (kind) {
        case IdentifierKind::PaymentCard: return L"支払カード番号";
        case IdentifierKind::MyNumber: return L"個人番号";
        case IdentifierKind::CorporateNumber: return L"法人番号";
    }
    return L"";
}

bool IsValidIdentifier(IdentifierKind kind, std::string_view digits) {
    if (!DigitCountFits(kind, digits.size())) return false;
    switch (kind) {
        case IdentifierKind::PaymentCard: return LuhnValid(digits) && CardBrandAccepts(digits);
        case IdentifierKind::MyNumber: return MyNumberValid(digits);
        case IdentifierKind::CorporateNumber: return CorporateNumberValid(digits);
    }
    return false;
}

std::optional<IdentifierMatch> FindIdentifier(std::wstring_view text, const std::vector<IdentifierRule>& rules) {
    std::vector<std::optional<IdentifierMatch>> found(rules.size());
    LabelIndex labels(text);
    std::vector<DigitGroup> chain;
    size_t position = 0;
    while (position < text.size() && !(found.empty() || found.front())) {
        if (!IsDigit(text[position])) {
            ++position;
            continue;
        }
        chain.clear();
        for (;;) {
            const size_t begin = position;
            while (position < text.size() && IsDigit(text[position])) ++position;
            chain.push_back({begin, position});
            if (position + 1 >= text.size() || !IsSeparator(text[position]) || !IsDigit(text[position + 1])) break;
            ++position;
        }
        for (size_t rule = 0; rule < rules.size(); ++rule) {
            if (!found[rule]) found[rule] = FirstInChain(text, chain, rules[rule], labels);
        }
    }
    for (const std::optional<IdentifierMatch>& match : found) {
        if (match) return match;
    }
    return std::nullopt;
}

}  // namespace veltrano
