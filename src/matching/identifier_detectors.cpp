#include "matching/identifier_detectors.h"

#include <algorithm>
#include <array>
#include <bitset>

namespace veltrano {
namespace {

constexpr size_t kMinIdentifierDigits = 12;
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
        // Every character that folds to a label's first one: most of the text is passed over unfolded.
        static const std::bitset<0x10000> kFirstCharacters = [] {
            std::bitset<0x10000> first;
            for (unsigned c = 0; c < first.size(); ++c) {
                for (const Label& label : kLabels) {
                    if (FoldForLabel(static_cast<wchar_t>(c)) == label.text.front()) first.set(c);
                }
            }
            return first;
        }();
        for (size_t position = 0; position < text_.size(); ++position) {
            if (!kFirstCharacters[text_[position]]) continue;
            const wchar_t first = FoldForLabel(text_[position]);
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

// One chain: where its groups stand in the text, and all of its digits in ASCII once.
struct Chain {
    std::vector<size_t> begins;   // of each group in the text
    std::vector<size_t> ends;
    std::vector<size_t> offsets;  // of each group in `digits`, and the end
    std::string digits;

    void Clear() {
        begins.clear();
        ends.clear();
        offsets.assign(1, 0);
        digits.clear();
    }
    size_t Digits(size_t group) const { return offsets[group + 1] - offsets[group]; }
};

// The leftmost (then longest) candidate of `rule` in the chain that counts, if any.
std::optional<IdentifierMatch> FirstInChain(const Chain& chain, const IdentifierRule& rule, LabelIndex& labels) {
    const size_t groups = chain.begins.size();
    for (size_t first = 0; first < groups; ++first) {
        // The groups a candidate from `first` may take: at most kMaxIdentifierDigits digits.
        size_t end = first;
        while (end < groups && chain.offsets[end + 1] - chain.offsets[first] <= kMaxIdentifierDigits) ++end;
        for (; end > first; --end) {
            const size_t count = chain.offsets[end] - chain.offsets[first];
            if (!DigitCountFits(rule.kind, count)) continue;
            const std::string_view digits = std::string_view(chain.digits).substr(chain.offsets[first], count);
            const size_t begin = chain.begins[first];
            const size_t stop = chain.ends[end - 1];
            if (IsValidIdentifier(rule.kind, digits) && (!rule.needsLabel || labels.Near(rule.kind, begin, stop))) {
                return IdentifierMatch{rule, begin, stop - begin};
            }
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
    Chain chain;
    size_t position = 0;
    while (position < text.size() && !(found.empty() || found.front())) {
        if (!IsDigit(text[position])) {
            ++position;
            continue;
        }
        chain.Clear();
        for (;;) {
            chain.begins.push_back(position);
            for (int value; position < text.size() && (value = DigitValue(text[position])) >= 0; ++position) {
                chain.digits += static_cast<char>('0' + value);
            }
            chain.ends.push_back(position);
            chain.offsets.push_back(chain.digits.size());
            if (position + 1 >= text.size() || !IsSeparator(text[position]) || !IsDigit(text[position + 1])) break;
            ++position;
        }
        if (chain.digits.size() < kMinIdentifierDigits) continue;
        for (size_t rule = 0; rule < rules.size(); ++rule) {
            if (!found[rule]) found[rule] = FirstInChain(chain, rules[rule], labels);
        }
    }
    for (const std::optional<IdentifierMatch>& match : found) {
        if (match) return match;
    }
    return std::nullopt;
}

}  // namespace veltrano
