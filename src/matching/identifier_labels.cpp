#include "matching/identifier_labels.h"

#include <algorithm>

#include "regex/bounded_match.h"

namespace veltrano {
namespace {

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
    {IdentifierKind::PassportNumber, L"パスポート"},
    {IdentifierKind::PassportNumber, L"パスポート番号"},
    {IdentifierKind::PassportNumber, L"旅券"},
    {IdentifierKind::PassportNumber, L"旅券番号"},
    {IdentifierKind::PassportNumber, L"passport"},
    {IdentifierKind::DriverLicenseNumber, L"運転免許証"},
    {IdentifierKind::DriverLicenseNumber, L"運転免許証番号"},
    {IdentifierKind::DriverLicenseNumber, L"免許証番号"},
    {IdentifierKind::DriverLicenseNumber, L"免許番号"},
    {IdentifierKind::DriverLicenseNumber, L"運転経歴証明書"},
    {IdentifierKind::DriverLicenseNumber, L"driver's license"},
    {IdentifierKind::DriverLicenseNumber, L"driver license"},
    {IdentifierKind::DriverLicenseNumber, L"driving licence"},
    {IdentifierKind::ResidenceCardNumber, L"在留カード"},
    {IdentifierKind::ResidenceCardNumber, L"在留カード番号"},
    {IdentifierKind::ResidenceCardNumber, L"在留番号"},
    {IdentifierKind::ResidenceCardNumber, L"residence card"},
    {IdentifierKind::BasicPensionNumber, L"基礎年金番号"},
    {IdentifierKind::BasicPensionNumber, L"年金番号"},
    {IdentifierKind::BasicPensionNumber, L"年金手帳"},
    {IdentifierKind::BasicPensionNumber, L"pension number"},
    {IdentifierKind::BankAccountNumber, L"口座番号"},
    {IdentifierKind::BankAccountNumber, L"口座"},
    {IdentifierKind::BankAccountNumber, L"普通"},
    {IdentifierKind::BankAccountNumber, L"当座"},
    {IdentifierKind::BankAccountNumber, L"account number"},
    {IdentifierKind::BankAccountNumber, L"bank account"},
};

// The full-width forms of U+FF61 to U+FF9F, the half-width katakana block.
constexpr std::wstring_view kFullWidthKatakana =
    L"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

// Latin letters without regard to case or width, spaces of every width as one, half-width
// katakana as full-width.
wchar_t FoldCharacter(wchar_t c) {
    if (c >= L'\uFF61' && c <= L'\uFF9F') return kFullWidthKatakana[c - L'\uFF61'];
    if (c >= L'\uFF01' && c <= L'\uFF5E') c = static_cast<wchar_t>(c - 0xFEE0);
    if (c == L'\u3000' || c == L'\u00A0') c = L' ';
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
    return c;
}

bool IsVoicedMark(wchar_t c) { return c == L'\uFF9E' || c == L'\u3099'; }      // half-width, combining
bool IsSemiVoicedMark(wchar_t c) { return c == L'\uFF9F' || c == L'\u309A'; }

// The katakana `base` joined with the (semi-)voiced mark `mark`, or 0 when they do not join.
wchar_t Joined(wchar_t base, wchar_t mark) {
    if (IsVoicedMark(mark)) {
        if ((base >= L'カ' && base <= L'チ' && (base - L'カ') % 2 == 0) || base == L'ツ' || base == L'テ' || base == L'ト') {
            return static_cast<wchar_t>(base + 1);
        }
        if (base >= L'ハ' && base <= L'ホ' && (base - L'ハ') % 3 == 0) return static_cast<wchar_t>(base + 1);
        if (base == L'ウ') return L'ヴ';
        if (base == L'ワ') return L'ヷ';
        if (base == L'ヲ') return L'ヺ';
    }
    if (IsSemiVoicedMark(mark) && base >= L'ハ' && base <= L'ホ' && (base - L'ハ') % 3 == 0) {
        return static_cast<wchar_t>(base + 2);
    }
    return 0;
}

struct Folded {
    wchar_t character;
    size_t length;  // in the text: 2 for a kana and its mark
};

Folded FoldAt(std::wstring_view text, size_t position) {
    const wchar_t base = FoldCharacter(text[position]);
    if (position + 1 < text.size()) {
        if (const wchar_t joined = Joined(base, text[position + 1])) return {joined, 2};
    }
    return {base, 1};
}

// For every character, the kinds whose labels it begins once folded, alone or with a mark after
// it: most of the text is passed over unfolded.
const std::array<KindSet, 0x10000>& LabelFirstCharacterKinds() {
    static const std::array<KindSet, 0x10000> kinds = [] {
        std::array<KindSet, 0x10000> table{};
        for (unsigned c = 0; c < table.size(); ++c) {
            const wchar_t folded = FoldCharacter(static_cast<wchar_t>(c));
            for (const Label& label : kLabels) {
                const wchar_t wanted = label.text.front();
                if (folded == wanted || Joined(folded, L'\u3099') == wanted || Joined(folded, L'\u309A') == wanted) {
                    table[c] |= KindBit(label.kind);
                }
            }
        }
        return table;
    }();
    return kinds;
}

// The labels grouped by their first character, so that a place is compared only with the labels
// its folded character begins: the group of a character is labels[first[c]] to labels[first[c + 1]].
struct LabelsByFirstCharacter {
    std::vector<const Label*> labels;
    std::vector<unsigned char> first = std::vector<unsigned char>(0x10001);
    LabelsByFirstCharacter() {
        for (const Label& label : kLabels) labels.push_back(&label);
        std::stable_sort(labels.begin(), labels.end(),
                         [](const Label* a, const Label* b) { return a->text.front() < b->text.front(); });
        size_t next = 0;
        for (unsigned c = 0; c <= 0x10000; ++c) {
            while (next < labels.size() && labels[next]->text.front() < c) ++next;
            first[c] = static_cast<unsigned char>(next);
        }
    }
};
static_assert(std::size(kLabels) < 256, "a group's end fits a byte");

// A Latin label begins a word: the "a" of "data" begins no "account number".
bool LatinWordContinues(std::wstring_view text, size_t position) {
    const auto latin = [](wchar_t c) {
        const wchar_t folded = FoldCharacter(c);
        return folded >= L'a' && folded <= L'z';
    };
    return position > 0 && latin(text[position]) && latin(text[position - 1]);
}

}  // namespace

bool LabelIndex::Near(IdentifierKind kind, size_t begin, size_t end) {
    // The candidates come in the text's order: the labels are found only as far as they ask for.
    IndexTo(std::min(text_.size(), end + kMaxLabelDistance + 1));
    const Spans& spans = spans_[static_cast<size_t>(kind)];
    const auto after = std::lower_bound(spans.starts.begin(), spans.starts.end(), end);
    if (after != spans.starts.end() && *after - end <= kMaxLabelDistance) return true;
    const auto before = std::upper_bound(spans.ends.begin(), spans.ends.end(), begin);
    return before != spans.ends.begin() && begin - *std::prev(before) <= kMaxLabelDistance;
}

void LabelIndex::IndexTo(size_t limit) {
    const std::array<KindSet, 0x10000>& firstCharacterKinds = LabelFirstCharacterKinds();
    static const LabelsByFirstCharacter byFirst;
    for (size_t& position = indexedTo_; position < limit; ++position) {
        if (position % kPositionsPerClockRead == 0 && std::chrono::steady_clock::now() >= deadline_) {
            throw MatchAborted(MatchAborted::Reason::PatternTooSlow);
        }
        if ((firstCharacterKinds[static_cast<unsigned short>(text_[position])] & asked_) == 0 ||
            LatinWordContinues(text_, position)) {
            continue;
        }
        // Most places are ruled out by their second character, read once for all the labels.
        const Folded head = FoldAt(text_, position);
        const wchar_t second = position + head.length < text_.size() ? FoldAt(text_, position + head.length).character : 0;
        const unsigned first = static_cast<unsigned short>(head.character);
        for (size_t group = byFirst.first[first]; group < byFirst.first[first + 1]; ++group) {
            const Label& label = *byFirst.labels[group];
            if ((KindBit(label.kind) & asked_) == 0 || (label.text.size() > 1 && label.text[1] != second)) continue;
            if (const size_t length = LabelLengthAt(label.text, position)) {
                Spans& spans = spans_[static_cast<size_t>(label.kind)];
                spans.starts.push_back(position);
                // Labels of one kind seldom overlap: the ends stay sorted with a short move.
                spans.ends.insert(std::upper_bound(spans.ends.begin(), spans.ends.end(), position + length),
                                  position + length);
            }
        }
    }
}

size_t LabelIndex::LabelLengthAt(std::wstring_view label, size_t position) const {
    size_t at = position;
    for (const wchar_t wanted : label) {
        if (at >= text_.size()) return 0;
        const Folded folded = FoldAt(text_, at);
        if (folded.character != wanted) return 0;
        at += folded.length;
    }
    return at - position;
}

}  // namespace veltrano
