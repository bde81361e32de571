#include "matching/identifier_detectors.h"

#include <algorithm>

#include "matching/card_brands.h"
#include "matching/credential_scan.h"
#include "matching/credential_text.h"
#include "matching/identifier_shapes.h"
#include "regex/bounded_match.h"

namespace veltrano {
namespace {

constexpr size_t kMaxIdentifierDigits = 19;

// What a character is to the scan, one table look-up per character (its hot path): a digit, a
// separator of a chain, nothing, or a credential anchor (a letter among them). The scan passes
// over one range of classes: the digits too once every rule is settled, the anchors too once the
// credentials are.
enum CharacterClass : unsigned char {
    kDigitValues = 10,
    kBlank = 10,
    kHyphen,
    kPoint,
    kOther,
    kAnchor,
    kAnchorHyphen,
    kLetterAnchor,
};

constexpr CharacterClass Classify(wchar_t c) {
    if (c >= L'0' && c <= L'9') return static_cast<CharacterClass>(c - L'0');
    if (c >= L'\uFF10' && c <= L'\uFF19') return static_cast<CharacterClass>(c - L'\uFF10');  // full-width
    if (c == L'-') return kAnchorHyphen;
    if (IsCredentialAnchor(c)) return credential_text::IsAsciiAlpha(c) ? kLetterAnchor : kAnchor;
    switch (c) {
        case L' ': case L'\u3000': case L'\u00A0': case L'\u202F':
            return kBlank;
        // Hyphens, dashes and what an input method or a font turns the hyphen key into.
        case L'\u2010': case L'\u2011': case L'\u2012': case L'\u2013': case L'\u2015': case L'\u2212':
        case L'\uFF0D': case L'\u30FC': case L'\uFF70':
            return kHyphen;
        case L'.': case L'\uFF0E':
            return kPoint;
        default:
            return kOther;
    }
}

struct CharacterClasses {
    CharacterClass of[0x10000];
    constexpr CharacterClasses() : of() {
        for (unsigned c = 0; c < 0x10000; ++c) of[c] = Classify(static_cast<wchar_t>(c));
    }
};
constexpr CharacterClasses kClasses;

CharacterClass ClassOf(wchar_t c) { return kClasses.of[static_cast<unsigned short>(c)]; }
int DigitValue(wchar_t c) { return ClassOf(c) < kDigitValues ? ClassOf(c) : -1; }
bool IsDigit(wchar_t c) { return ClassOf(c) < kDigitValues; }
bool IsBlank(wchar_t c) { return ClassOf(c) == kBlank; }
bool IsHyphen(wchar_t c) { return ClassOf(c) == kHyphen || ClassOf(c) == kAnchorHyphen; }
bool IsSeparator(wchar_t c) { return IsHyphen(c) || ClassOf(c) == kBlank || ClassOf(c) == kPoint; }

// A hyphen with one blank beside it, or one on each side, from `position` to a digit: "1111 - 2222",
// "1111- 2222". Its length, or 0.
size_t JoiningSeparatorWithBlanksLength(std::wstring_view text, size_t position) {
    size_t at = position;
    if (IsBlank(text[at])) ++at;
    if (at >= text.size() || !IsHyphen(text[at])) return 0;
    ++at;
    if (at < text.size() && IsBlank(text[at])) ++at;
    return at - position >= 2 && at < text.size() && IsDigit(text[at]) ? at - position : 0;
}

// The length of the separator at `position` that joins the group before it to one after it, or 0.
inline size_t JoiningSeparatorLength(std::wstring_view text, size_t position) {
    const auto digitAt = [&](size_t at) { return at < text.size() && IsDigit(text[at]); };
    if (position >= text.size() || !IsSeparator(text[position])) return 0;
    if (digitAt(position + 1)) return 1;
    return JoiningSeparatorWithBlanksLength(text, position);
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

unsigned FirstDigits(IdentifierKind kind) { return ShapeOf(kind).firstDigits; }

// A Latin letter of an identifier: ASCII or full-width, either case.
bool IsIdentifierLetter(wchar_t c) { return credential_text::IsAsciiAlpha(credential_text::FoldWidth(c)); }
// What an identifier's letters may not run into.
bool IsWordPart(wchar_t c) { return IsIdentifierLetter(c) || IsDigit(c); }

// The kinds of the rules that need a label: the only labels looked for.
KindSet LabelledKinds(const std::vector<IdentifierRule>& rules) {
    KindSet kinds = 0;
    for (const IdentifierRule& rule : rules) {
        if (rule.needsLabel) kinds |= KindBit(rule.kind);
    }
    return kinds;
}

// A number of a fixed grouping or with letters is a word of its own: "b0418163" of a commit hash
// is no account number.
bool StandsAsAWord(const IdentifierShape& shape) {
    return shape.grouping != Grouping::Any || shape.lettersBefore > 0 || shape.lettersAfter > 0;
}

// The most characters a candidate spans: its digits and a separator of three between each two.
constexpr size_t kLongestCandidateSpan = kMaxIdentifierDigits + (kMaxIdentifierDigits - 1) * 3;

// The groups a candidate from a group start may take, read from the text once for all the starts
// of a chain: a later start of the same chain drops the groups before it and reads on.
class Reach {
public:
    explicit Reach(std::wstring_view text) : text_(text) {}

    // The groups from `start` (a group's first digit) on, at least those within kMaxIdentifierDigits
    // digits of it.
    void From(size_t start) {
        if (first_ < end_ && begins_[first_] <= start && start <= begins_[end_ - 1]) {
            while (begins_[first_] < start) ++first_;
        } else {
            first_ = end_ = 0;
            digitsEnd_ = 0;
            next_ = start;
        }
        while (next_ != kChainEnded && (first_ == end_ || DigitsTo(end_ - 1) <= kMaxIdentifierDigits)) ReadGroup();
    }

    size_t Groups() const { return end_ - first_; }
    // Digits from the start to the end of its group number `group`.
    size_t DigitsTo(size_t group) const { return digitEnds_[group] - digitBegins_[first_]; }
    size_t EndOf(size_t group) const { return ends_[group]; }
    size_t First() const { return first_; }
    std::string_view Digits(size_t count) const { return std::string_view(digits_ + digitBegins_[first_], count); }

private:
    static constexpr size_t kChainEnded = static_cast<size_t>(-1);
    static constexpr size_t kGroups = 64;
    static constexpr size_t kDigits = 4 * kMaxIdentifierDigits;

    void ReadGroup() {
        if (end_ == kGroups || digitsEnd_ + kMaxIdentifierDigits + 1 > kDigits) Compact();
        const size_t begin = next_;
        size_t end = begin;
        // A group longer than any identifier ends every candidate before it: its digits are not kept.
        for (; end < text_.size() && IsDigit(text_[end]); ++end) {
            if (end - begin <= kMaxIdentifierDigits) digits_[digitsEnd_ + (end - begin)] = static_cast<char>('0' + DigitValue(text_[end]));
        }
        begins_[end_] = begin;
        ends_[end_] = end;
        digitBegins_[end_] = digitsEnd_;
        digitsEnd_ += std::min(end - begin, kMaxIdentifierDigits + 1);
        digitEnds_[end_++] = digitsEnd_;
        const size_t separator = JoiningSeparatorLength(text_, end);
        next_ = separator == 0 ? kChainEnded : end + separator;
    }

    // Moves the groups kept to the front.
    void Compact() {
        const size_t base = digitBegins_[first_];
        std::copy(digits_ + base, digits_ + digitsEnd_, digits_);
        for (size_t group = first_; group < end_; ++group) {
            const size_t to = group - first_;
            begins_[to] = begins_[group];
            ends_[to] = ends_[group];
            digitBegins_[to] = digitBegins_[group] - base;
            digitEnds_[to] = digitEnds_[group] - base;
        }
        end_ -= first_;
        first_ = 0;
        digitsEnd_ -= base;
    }

    std::wstring_view text_;
    size_t first_ = 0;  // the start's group
    size_t end_ = 0;    // after the last group read
    size_t next_ = kChainEnded;  // where the next group of the chain begins
    size_t begins_[kGroups];
    size_t ends_[kGroups];
    size_t digitBegins_[kGroups];
    size_t digitEnds_[kGroups];
    char digits_[kDigits];
    size_t digitsEnd_ = 0;
};

// One scan of a text, one chain of digit groups after the other. Each group start is looked at
// where it stands: a candidate from it is read from the text only when a rule can take it, so a
// chain of any length costs no memory and most starts cost one comparison.
class IdentifierScan {
public:
    IdentifierScan(std::wstring_view text, const std::vector<IdentifierRule>& rules,
                   std::chrono::steady_clock::time_point deadline, CredentialScan* credentials)
        : text_(text), rules_(rules), deadline_(deadline), credentials_(credentials), live_(rules.size()), reach_(text),
          labels_(text, LabelledKinds(rules), deadline) {
        FindLiveFirstDigits();
    }

    std::optional<IdentifierMatch> Run() {
        size_t position = 0;
        while (position < text_.size() && !(Done() && CredentialsDone())) {
            CheckClock(position);
            // What the scan passes over changes only when a detector has found its match.
            const bool rulesDone = Done();
            const bool credentialsDone = CredentialsDone();
            const unsigned lowestPassed = rulesDone ? 0 : kBlank;
            const unsigned passedRange = (credentialsDone ? kLetterAnchor : kOther) - lowestPassed;
            const size_t stop = std::min(text_.size(), position + kPositionsPerClockRead);
            while (position < stop && Done() == rulesDone && CredentialsDone() == credentialsDone) {
                while (position < stop && static_cast<unsigned>(ClassOf(text_[position]) - lowestPassed) <= passedRange) {
                    ++position;
                }
                if (position < stop) position = StopAt(position);
            }
        }
        if (credentials_ && !credentials_->Done()) credentials_->Finish();
        return found_;
    }

private:
    // A place the scan stops at: a digit, or a credential anchor. Gives where the scan goes on.
    size_t StopAt(size_t position) {
        const CharacterClass characterClass = ClassOf(text_[position]);
        if (characterClass < kDigitValues) return ScanChain(position);
        // Anchor letters stand mostly inside words, where nothing begins: passed without a call.
        if (characterClass == kLetterAnchor && credentials_->InsideAWord(position)) return position + 1;
        // No format or label begins inside a run of one anchor character ("=====", "$$$"): the
        // run is looked at once, at its start. Line breaks each end a line.
        const wchar_t anchor = text_[position];
        if (anchor != L'\n' && position > 0 && text_[position - 1] == anchor) {
            while (position < text_.size() && text_[position] == anchor) ++position;
            return position;
        }
        credentials_->LookAt(position);
        return position + 1;
    }

    // The first rule found: nothing later can come before it.
    bool Done() const { return live_ == 0; }
    bool CredentialsDone() const { return !credentials_ || credentials_->Done(); }

    void CheckClock(size_t position) {
        if (position < nextClockRead_) return;
        nextClockRead_ = position + kPositionsPerClockRead;
        if (std::chrono::steady_clock::now() >= deadline_) throw MatchAborted(MatchAborted::Reason::PatternTooSlow);
    }

    // The end of the chain from `begin` (a digit) when no live rule can take anything from it:
    // fewer digits than a number of any grouping has, and no group a number that is a word of its
    // own can stand in. Phone numbers and dates end here.
    std::optional<size_t> EndOfShortChain(size_t begin) const {
        const bool letterBefore = begin > 0 && IsIdentifierLetter(text_[begin - 1]);
        size_t digits = 0;
        size_t previousGroup = 0;
        for (size_t position = begin;;) {
            const size_t groupBegin = position;
            for (; position < text_.size() && IsDigit(text_[position]); ++position) {
                if (++digits == fewestAnyGroupingDigits_) return std::nullopt;
            }
            const size_t group = std::min<size_t>(position - groupBegin, kMaxIdentifierDigits + 1);
            const bool firstGroup = groupBegin == begin;
            if ((wordGroups_ >> group & 1u) || (firstGroup && letterBefore && (letteredFirstGroups_ >> group & 1u)) ||
                (fourThenSixLive_ && previousGroup == kFirstOfTwoGroups && group == kSecondOfTwoGroups)) {
                return std::nullopt;
            }
            previousGroup = group;
            const size_t separator = JoiningSeparatorLength(text_, position);
            if (separator == 0) return position;
            position += separator;
        }
    }

    // Looks at every group start of the chain from `begin` (a digit); gives where the chain ends.
    //
    // No label can stand inside a chain, which holds only digits and separators: a candidate
    // more than kMaxLabelDistance characters from both ends of its chain has no label near. So a
    // rule that needs one looks at the first starts of a long chain while it is read, and at the
    // starts near its end once the end is known.
    size_t ScanChain(size_t begin) {
        if (const std::optional<size_t> end = EndOfShortChain(begin)) return *end;
        size_t position = begin;
        size_t firstFarStart = 0;  // the first start too far from the beginning for a label, if any
        for (;;) {
            CheckClock(position);
            const bool nearBeginning = position - begin <= kMaxLabelDistance;
            if (!nearBeginning && firstFarStart == 0) firstFarStart = position;
            const Labels labels = nearBeginning ? Labels::Any : Labels::NotNeeded;
            if (liveFirstDigits_[labels] >> DigitValue(text_[position]) & 1u) {
                LookAtStart(position, labels);
                if (Done()) return position;
            }
            while (position < text_.size() && IsDigit(text_[position])) ++position;
            const size_t separator = JoiningSeparatorLength(text_, position);
            if (separator == 0) break;
            position += separator;
        }
        if (firstFarStart != 0) LookAtStartsNearEnd(firstFarStart, position);
        return position;
    }

    // The starts from `from` on whose candidates may end within kMaxLabelDistance of `chainEnd`.
    void LookAtStartsNearEnd(size_t from, size_t chainEnd) {
        size_t position = std::max(from, chainEnd - std::min(chainEnd, kMaxLabelDistance + kLongestCandidateSpan));
        // Inside a chain, every digit after a separator begins a group.
        if (IsDigit(text_[position - 1])) {
            while (position < chainEnd && IsDigit(text_[position])) ++position;
        }
        while (position < chainEnd && !Done()) {
            while (position < chainEnd && !IsDigit(text_[position])) ++position;
            if (position == chainEnd) break;
            if (liveFirstDigits_[Labels::Needed] >> DigitValue(text_[position]) & 1u) LookAtStart(position, Labels::Needed);
            while (position < chainEnd && IsDigit(text_[position])) ++position;
        }
    }

    // Which rules a start is looked at for.
    enum Labels { Any, NotNeeded, Needed, kLabelsCount };

    static bool Takes(Labels labels, const IdentifierRule& rule) {
        return labels == Any || (labels == Needed) == rule.needsLabel;
    }

    // Most starts are ruled out by their first digit alone, most chains by their length.
    void FindLiveFirstDigits() {
        fewestAnyGroupingDigits_ = kMaxIdentifierDigits + 1;
        wordGroups_ = letteredFirstGroups_ = 0;
        fourThenSixLive_ = false;
        for (size_t rule = 0; rule < live_; ++rule) {
            const IdentifierShape& shape = ShapeOf(rules_[rule].kind);
            const unsigned lengths = ((2u << shape.mostDigits) - 1) & ~((1u << shape.fewestDigits) - 1);
            if (shape.lettersBefore > 0) {
                letteredFirstGroups_ |= lengths;
            } else if (shape.grouping == Grouping::Any) {
                fewestAnyGroupingDigits_ = std::min(fewestAnyGroupingDigits_, shape.fewestDigits);
            } else {
                wordGroups_ |= lengths;
                fourThenSixLive_ = fourThenSixLive_ || shape.grouping == Grouping::FourThenSix;
            }
        }
        for (int labels = 0; labels < kLabelsCount; ++labels) {
            liveFirstDigits_[labels] = 0;
            for (size_t rule = 0; rule < rules_.size(); ++rule) {
                if (rule < live_ && Takes(static_cast<Labels>(labels), rules_[rule])) {
                    liveFirstDigits_[labels] |= FirstDigits(rules_[rule].kind);
                }
            }
        }
    }

    // A start whose first digit some rule takes.
    [[gnu::noinline]] void LookAtStart(size_t start, Labels labels) {
        const int first = DigitValue(text_[start]);
        std::optional<size_t> groupDigits;  // counted for the first shape that asks
        bool read = false;
        for (size_t rule = 0; rule < rules_.size(); ++rule) {
            const IdentifierRule& wanted = rules_[rule];
            if (rule >= live_ || !Takes(labels, wanted) || !(FirstDigits(wanted.kind) >> first & 1u)) continue;
            const IdentifierShape& shape = ShapeOf(wanted.kind);
            if (StandsAsAWord(shape)) {
                if (!groupDigits) groupDigits = GroupDigits(start);
                if (!WordFits(shape, start, *groupDigits)) continue;
            }
            if (!read) reach_.From(start);
            read = true;
            if (std::optional<IdentifierMatch> match = LongestFrom(start, wanted)) {
                // A rule found makes every later one moot: the first rule in order is reported.
                found_ = match;
                live_ = rule;
                FindLiveFirstDigits();
            }
        }
    }

    // The digits of the group from `start`, counted up to one more than any identifier has.
    size_t GroupDigits(size_t start) const {
        size_t end = start;
        while (end < text_.size() && end - start <= kMaxIdentifierDigits && IsDigit(text_[end])) ++end;
        return end - start;
    }

    // What the start's own group and the character before it allow a number that is a word of its
    // own, before any group is read: a phone number or a date is no one-group number, and a number
    // with letters needs one before it.
    bool WordFits(const IdentifierShape& shape, size_t start, size_t groupDigits) const {
        const bool letterBefore = start > 0 && IsIdentifierLetter(text_[start - 1]);
        if (letterBefore != (shape.lettersBefore > 0)) return false;
        switch (shape.grouping) {
            case Grouping::Any: return true;
            case Grouping::OneGroup: return groupDigits >= shape.fewestDigits && groupDigits <= shape.mostDigits;
            case Grouping::FourThenSix: return groupDigits == kFirstOfTwoGroups || groupDigits == shape.fewestDigits;
        }
        return false;
    }

    std::optional<IdentifierMatch> LongestFrom(size_t start, const IdentifierRule& rule) {
        const IdentifierShape& shape = ShapeOf(rule.kind);
        const bool word = StandsAsAWord(shape);
        for (size_t last = reach_.First() + reach_.Groups(); last-- > reach_.First();) {
            const size_t count = reach_.DigitsTo(last);
            if (count > shape.mostDigits) continue;
            if (count < shape.fewestDigits) break;
            if (word && (!Grouped(shape.grouping, last) || !LettersAround(shape, start, reach_.EndOf(last)))) continue;
            const size_t begin = start - shape.lettersBefore;
            const size_t end = reach_.EndOf(last) + shape.lettersAfter;
            if (IsValidIdentifier(rule.kind, reach_.Digits(count)) &&
                (!rule.needsLabel || labels_.Near(rule.kind, begin, end))) {
                return IdentifierMatch{rule, begin, end - begin};
            }
        }
        return std::nullopt;
    }

    // Whether the groups from the start's to `last` are grouped as the shape says.
    bool Grouped(Grouping grouping, size_t last) const {
        switch (grouping) {
            case Grouping::Any: return true;
            case Grouping::OneGroup: return last == reach_.First();
            case Grouping::FourThenSix:
                return last == reach_.First() ||
                       (last == reach_.First() + 1 && reach_.DigitsTo(reach_.First()) == kFirstOfTwoGroups);
        }
        return false;
    }

    // Whether the digits from `first` to `end` of a number that is a word of its own have the
    // shape's letters right around them, and no letter or digit beyond those.
    bool LettersAround(const IdentifierShape& shape, size_t first, size_t end) const {
        const auto lettersAt = [&](size_t from, size_t count) {
            if (from + count > text_.size()) return false;
            for (size_t at = from; at < from + count; ++at) {
                if (!IsIdentifierLetter(text_[at])) return false;
            }
            return true;
        };
        if (first < shape.lettersBefore || !lettersAt(first - shape.lettersBefore, shape.lettersBefore)) return false;
        const size_t begin = first - shape.lettersBefore;
        const size_t after = end + shape.lettersAfter;
        return lettersAt(end, shape.lettersAfter) && (begin == 0 || !IsWordPart(text_[begin - 1])) &&
               (after == text_.size() || !IsWordPart(text_[after]));
    }

    std::wstring_view text_;
    const std::vector<IdentifierRule>& rules_;
    std::chrono::steady_clock::time_point deadline_;
    CredentialScan* credentials_;
    size_t nextClockRead_ = 0;
    size_t live_;                           // the rules before this one may still be found
    std::optional<IdentifierMatch> found_;  // of the rule at live_
    Reach reach_;
    unsigned liveFirstDigits_[kLabelsCount];
    // What makes a chain worth reading for the live rules (EndOfShortChain).
    size_t fewestAnyGroupingDigits_ = kMaxIdentifierDigits + 1;
    unsigned wordGroups_ = 0;           // bit n: a group of n digits may be a number of its own
    unsigned letteredFirstGroups_ = 0;  // the same for a chain's first group after a letter
    bool fourThenSixLive_ = false;
    LabelIndex labels_;
};

}  // namespace

const wchar_t* IdentifierName(IdentifierKind kind) { return ShapeOf(kind).name; }

bool IsValidIdentifier(IdentifierKind kind, std::string_view digits) {
    const IdentifierShape& shape = ShapeOf(kind);
    if (digits.size() < shape.fewestDigits || digits.size() > shape.mostDigits) return false;
    switch (kind) {
        case IdentifierKind::PaymentCard: return CardBrandAccepts(digits) && LuhnValid(digits);
        case IdentifierKind::MyNumber: return MyNumberValid(digits);
        case IdentifierKind::CorporateNumber: return CorporateNumberValid(digits);
        // No check digit is published for the others: their label decides.
        default: return true;
    }
}

std::optional<IdentifierMatch> FindIdentifier(std::wstring_view text, const std::vector<IdentifierRule>& rules,
                                              std::chrono::steady_clock::time_point deadline) {
    return IdentifierScan(text, rules, deadline, nullptr).Run();
}

DetectorFinds FindDetected(std::wstring_view text, const std::vector<IdentifierRule>& rules,
                           CredentialFamilies credentials, std::chrono::steady_clock::time_point deadline) {
    std::optional<CredentialScan> credentialScan;
    if (credentials.Any()) credentialScan.emplace(text, credentials);
    DetectorFinds finds;
    finds.identifier = IdentifierScan(text, rules, deadline, credentialScan ? &*credentialScan : nullptr).Run();
    if (credentialScan) finds.credential = credentialScan->Found();
    return finds;
}

std::wstring MaskedNumber(std::wstring_view number) {
    std::wstring masked(number);
    size_t kept = 0;
    for (size_t i = masked.size(); i-- > 0;) {
        const bool digit = IsDigit(masked[i]);
        if ((!digit && !IsIdentifierLetter(masked[i])) || (digit && kept++ < 4)) continue;
        masked[i] = masked[i] < 0x80 ? L'*' : L'＊';
    }
    return masked;
}

std::wstring LastFourDigits(std::wstring_view number) {
    std::wstring digits;
    for (size_t i = number.size(); i-- > 0 && digits.size() < 4;) {
        if (IsDigit(number[i])) digits.insert(digits.begin(), number[i]);
    }
    return digits;
}

}  // namespace veltrano
