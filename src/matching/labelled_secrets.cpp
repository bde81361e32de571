#include "matching/labelled_secrets.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "log/secret_tag.h"
#include "matching/credential_text.h"
#include "matching/credential_values.h"

namespace veltrano {
namespace {

using namespace credential_text;
using std::nullopt;
using std::optional;
using std::wstring_view;

constexpr size_t kLongestName = 64;
constexpr size_t kBlanksBeforeSeparator = 8;
constexpr size_t kLongestValue = 256;

// Japanese labels, matched at the end of a name: 「解凍用パスワード」「初期パスワード」.
struct JapaneseLabel {
    wstring_view text;
    CredentialKind kind;
};
constexpr JapaneseLabel kJapaneseLabels[] = {
    {L"パスワード", CredentialKind::Password}, {L"パスワ－ド", CredentialKind::Password},
    {L"ﾊﾟｽﾜｰﾄﾞ", CredentialKind::Password},   {L"暗証番号", CredentialKind::Pin},
    {L"合言葉", CredentialKind::Passphrase},
};

// The last word of a name that holds something about a secret, not the secret: a file, a rule,
// a length, a switch ("password_file", "PasswordPolicy", "token_type", "max_tokens").
constexpr wstring_view kAboutWords[] = {
    L"file", L"files", L"path", L"dir", L"directory", L"env", L"var", L"url", L"uri", L"length", L"len", L"size",
    L"policy", L"policies", L"encryption", L"type", L"field", L"prompt", L"label", L"name", L"id", L"hint",
    L"enabled", L"enable", L"required", L"expiry", L"expires", L"expiration", L"expired", L"ttl", L"timeout",
    L"reset", L"changed", L"change", L"regex", L"pattern", L"format", L"mode", L"method", L"algorithm", L"algo",
    L"iterations", L"rounds", L"chars", L"strength", L"store", L"manager", L"provider", L"helper", L"command",
    L"cmd", L"level", L"version", L"endpoint", L"at", L"date", L"time", L"age", L"lifetime", L"hash", L"header",
    L"param", L"parameter", L"input", L"form", L"reminder", L"question", L"rule", L"rules", L"validation",
    L"validator", L"visible", L"visibility", L"placeholder", L"text", L"message", L"msg", L"error", L"link",
    L"page", L"button", L"btn", L"dialog", L"screen", L"flag", L"count", L"limit", L"attempts", L"retries",
    L"history", L"complexity", L"template", L"tokens", L"tokenizer", L"usage", L"login", L"user", L"username",
};
// Words that make a whole name a number or a limit: "min_password_length", "max_tokens".
constexpr wstring_view kLimitWords[] = {L"min", L"max", L"num", L"minimum", L"maximum", L"total"};
// Names whose last words say a key: "api_key", "AWS_SECRET_ACCESS_KEY", "signingKey".
constexpr wstring_view kKeyNames[] = {L"apikey", L"accesskey", L"privatekey", L"signingkey", L"masterkey",
                                      L"secretkey", L"clientkey", L"encryptionkey", L"authkey"};

// "NOPASSWD" (sudoers), "nopassword", "no_password": a switch that says there is none.
bool SaysNone(std::wstring_view word) {
    return word == L"no" || (word.starts_with(L"no") && (word.substr(2).starts_with(L"pass") || word.substr(2).starts_with(L"pw")));
}

template <size_t N>
bool Among(const wstring_view (&words)[N], wstring_view word) {
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

// The words of an ASCII name, lower-cased: split at what is not a letter or digit and where a
// lower-case letter meets an upper-case one ("dbPassword", "DB_PASSWORD" and "db.password" alike).
std::vector<std::wstring> NameWords(wstring_view name) {
    std::vector<std::wstring> words(1);
    wchar_t previous = 0;
    for (const wchar_t raw : name) {
        const wchar_t c = FoldWidth(raw);
        if (!IsAsciiAlnum(c)) {
            if (!words.back().empty()) words.emplace_back();
        } else {
            if (IsAsciiUpper(c) && IsAsciiLower(previous) && !words.back().empty()) words.emplace_back();
            words.back() += FoldCase(c);
        }
        previous = c;
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

constexpr bool ComputeIsNameCharacter(wchar_t c) {
    if (IsWordChar(c) || c == L'-' || c == L'.') return true;
    if (c < 0x3040) return false;
    // Full-width punctuation is no part of a name; full-width letters and kana are.
    return !((c >= 0xFF01 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40) ||
             (c >= 0xFF5B && c <= 0xFF65));
}

// The beginnings of every label, folded: a name that holds none of them is no label.
constexpr wstring_view kLabelStems[] = {L"pas", L"pw",   L"secret", L"token", L"auth", L"key",
                                        L"cred", L"パス", L"ﾊﾟｽ",   L"暗証",  L"合言"};

// A name is read back from every separator of a text, one look-up per character: what the
// character is in a name, and which stem two characters may begin.
constexpr unsigned char kNotName = 0;
constexpr unsigned char kOtherNamePart = 1;  // kana, kanji, other full-width letters
constexpr unsigned char kStemLead = 2;       // the first character of a stem that is not ASCII
struct NameReading {
    unsigned char of[0x10000];   // kNotName, kOtherNamePart, kStemLead, or the folded ASCII character
    unsigned char stemAt[128][128];  // for two folded ASCII characters, 1 + the stem they begin, or 0
    constexpr NameReading() : of(), stemAt() {
        for (unsigned c = 0; c < 0x10000; ++c) {
            const wchar_t character = static_cast<wchar_t>(c);
            if (!ComputeIsNameCharacter(character)) continue;
            const wchar_t folded = Folded(character);
            of[c] = folded < 128 ? static_cast<unsigned char>(folded) : kOtherNamePart;
        }
        for (size_t stem = 0; stem < std::size(kLabelStems); ++stem) {
            const wstring_view text = kLabelStems[stem];
            if (text[0] < 128) stemAt[text[0]][text[1]] = static_cast<unsigned char>(stem + 1);
            else of[text[0]] = kStemLead;
        }
    }
};
constexpr NameReading kNameReading;

bool IsNameCharacter(wchar_t c) { return kNameReading.of[static_cast<unsigned short>(c)] != kNotName; }

// Whether a stem begins at `at`, where the name reading saw `c` and then `next`.
bool StemAt(wstring_view text, size_t at, unsigned char c, unsigned char next) {
    if (c == kStemLead) {
        return std::any_of(std::begin(kLabelStems), std::end(kLabelStems),
                           [&](wstring_view stem) { return StandsAt(text, at, stem); });
    }
    const unsigned char stem = kNameReading.stemAt[c][next];
    return stem != 0 && StandsAt(text, at, kLabelStems[stem - 1], true);
}

struct NameBack {
    size_t begin;
    bool holdsStem;  // false: no label
};

// The name that ends at `end`, read back at most kLongestName characters.
NameBack ReadNameBack(wstring_view text, size_t end) {
    const size_t stop = end > kLongestName ? end - kLongestName : 0;
    size_t begin = end;
    unsigned char next = 0;
    bool holdsStem = false;
    for (; begin > stop; --begin) {
        const unsigned char c = kNameReading.of[static_cast<unsigned short>(text[begin - 1])];
        if (c == kNotName) break;
        // Seldom taken: the stem is then read in full.
        if ((c == kStemLead || kNameReading.stemAt[c][next] != 0) && !holdsStem) holdsStem = StemAt(text, begin - 1, c, next);
        next = c;
    }
    return {begin, holdsStem};
}

// The first two letters of each stem that begins with an ASCII letter.
constexpr size_t kAsciiStems = std::count_if(std::begin(kLabelStems), std::end(kLabelStems),
                                             [](wstring_view stem) { return stem[0] < 128; });
constexpr auto kAsciiStemPairs = [] {
    std::array<std::array<char, 2>, kAsciiStems> pairs{};
    size_t next = 0;
    for (const wstring_view stem : kLabelStems) {
        if (stem[0] < 128) pairs[next++] = {static_cast<char>(stem[0]), static_cast<char>(stem[1])};
    }
    return pairs;
}();

static_assert(sizeof(wchar_t) == 2, "the stems are looked for in UTF-16 units, eight to a register");

// The places of sixteen where a stem may begin, one bit each: a pair of ASCII letters that begins
// one, or a character beyond ASCII (a full-width letter, kana, kanji), read then one by one.
[[gnu::always_inline]] inline unsigned StemCandidates(const wchar_t* at) {
    const auto bytes = [](const wchar_t* from) {
        // Each character beyond ASCII reads as a byte with its high bit set: the packing saturates
        // what it takes as signed, so the sign bit goes first.
        const __m128i low = _mm_set1_epi16(0x7FFF);
        return _mm_packus_epi16(_mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)), low),
                                _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 8)), low));
    };
    const __m128i here = bytes(at);
    const __m128i next = bytes(at + 1);
    // Or-ing 0x20 turns exactly the ASCII letters into lower case ones.
    const __m128i lowerHere = _mm_or_si128(here, _mm_set1_epi8(0x20));
    const __m128i lowerNext = _mm_or_si128(next, _mm_set1_epi8(0x20));
    __m128i found = _mm_or_si128(here, next);  // the high bit: beyond ASCII
    [&]<size_t... I>(std::index_sequence<I...>) {
        ((found = _mm_or_si128(found, _mm_and_si128(_mm_cmpeq_epi8(lowerHere, _mm_set1_epi8(kAsciiStemPairs[I][0])),
                                                    _mm_cmpeq_epi8(lowerNext, _mm_set1_epi8(kAsciiStemPairs[I][1]))))),
         ...);
    }(std::make_index_sequence<kAsciiStems>());
    return static_cast<unsigned>(_mm_movemask_epi8(found));
}

bool IsQuote(wchar_t c) { return c == L'"' || c == L'\'' || c == L'`'; }

wchar_t ClosingQuote(wchar_t open) {
    switch (open) {
        case L'「': return L'」';
        case L'『': return L'』';
        case L'“': return L'”';
        case L'‘': return L'’';
        case L'"': case L'\'': case L'`': return open;
        default: return 0;
    }
}

// What an unquoted value is made of: no space, no bracket or quote, nothing Japanese but
// full-width letters and digits.
bool IsValueCharacter(wchar_t c) {
    if (c > L' ' && c < 0x7F) {
        switch (c) {
            case L',': case L';': case L'(': case L')': case L'[': case L']': case L'{': case L'}': case L'<':
            case L'>': case L'"': case L'\'': case L'`': case L'&':
                return false;
            default:
                return true;
        }
    }
    return c >= 0xFF01 && c <= 0xFF5E && IsAsciiAlnum(FoldWidth(c));
}

// Lower-case identifiers joined by dots: "self.password", "req.body.password", "os.environ".
bool IsAttributeChain(wstring_view value) {
    if (value.find(L'.') == wstring_view::npos) return false;
    bool partStart = true;
    for (const wchar_t c : value) {
        if (c == L'.') {
            if (partStart) return false;
            partStart = true;
        } else if (partStart ? (IsAsciiLower(c) || c == L'_') : (IsAsciiLower(c) || IsAsciiDigit(c) || c == L'_')) {
            partStart = false;
        } else {
            return false;
        }
    }
    return !partStart;
}

// Whether the name holds a stem some label begins with: most names are ruled out here, without
// splitting them into words.
bool HasLabelStem(wstring_view name) {
    for (size_t i = 0; i < name.size(); ++i) {
        for (const wstring_view stem : kLabelStems) {
            if (StandsAt(name, i, stem, true)) return true;
        }
    }
    return false;
}

// "pass", "pw" and "auth" say a secret only as a whole word of their own: "DB_PASS", "smtp.pw",
// "_auth"; not as the tail of a longer word ("LoopPass", "NL80211_MESH_AUTH" is not "auth" alone).
bool WholeWordAtEnd(wstring_view name, wstring_view word) {
    if (name.size() < word.size()) return false;
    const size_t start = name.size() - word.size();
    for (size_t i = 0; i < word.size(); ++i) {
        if (FoldCase(FoldWidth(name[start + i])) != word[i]) return false;
    }
    return start == 0 || !IsAsciiAlnum(FoldWidth(name[start - 1]));
}

}  // namespace

std::optional<CredentialKind> LabelKind(std::wstring_view name) {
    if (!HasLabelStem(name)) return nullopt;
    for (const JapaneseLabel& label : kJapaneseLabels) {
        if (name.ends_with(label.text)) return label.kind;
    }
    if (name == L"パス") return CredentialKind::Password;
    const std::vector<std::wstring> words = NameWords(name);
    if (words.empty() || Among(kAboutWords, words.back())) return nullopt;
    if (std::any_of(words.begin(), words.end(), [](const std::wstring& w) { return Among(kLimitWords, w) || SaysNone(w); })) {
        return nullopt;
    }
    for (const std::wstring& word : words) {
        if (word.find(L"password") != std::wstring::npos || word.find(L"passwd") != std::wstring::npos ||
            word.find(L"passphrase") != std::wstring::npos || word == L"pwd") {
            return CredentialKind::Password;
        }
    }
    if (WholeWordAtEnd(name, L"pass") || WholeWordAtEnd(name, L"pw")) return CredentialKind::Password;
    std::wstring joined;
    for (const std::wstring& word : words) joined += word;
    for (const std::wstring& word : words) {
        const size_t secret = word.find(L"secret");
        if (secret != std::wstring::npos && word.compare(secret, 8, L"secretar") != 0) return CredentialKind::Secret;
        if (word.find(L"token") != std::wstring::npos || word.starts_with(L"credential")) return CredentialKind::Secret;
    }
    if (WholeWordAtEnd(name, L"auth")) return CredentialKind::Secret;
    const bool namesKey = std::any_of(std::begin(kKeyNames), std::end(kKeyNames),
                                      [&](wstring_view key) { return joined.find(key) != std::wstring::npos; });
    return namesKey ? optional<CredentialKind>(CredentialKind::Secret) : nullopt;
}

// The value from `at` (after the separator and its blanks): quoted to its closing quote on the
// line, or one unquoted run that ends the line or the item.
std::optional<LabelledSecretFinder::Value> LabelledSecretFinder::ValueAfter(size_t at, CredentialKind kind,
                                                                            std::wstring_view name) const {
    at = RunEnd(text_, at, IsBlank, 16);
    if (at >= text_.size()) return nullopt;
    // A variable or template in place of the value: "${DB_PASSWORD}", "$(PASS)", "{{ pass }}".
    if (StandsAt(text_, at, L"${") || StandsAt(text_, at, L"$(") || StandsAt(text_, at, L"{{")) return nullopt;
    Value value{at, at, false};
    if (const wchar_t close = ClosingQuote(text_[at])) {
        const size_t end = RunEnd(text_, at + 1, [&](wchar_t c) { return c != close && !IsLineBreak(c); }, kLongestValue);
        if (end >= text_.size() || text_[end] != close) return nullopt;
        value = {at + 1, end, true};
    } else {
        value.end = RunEnd(text_, at, IsValueCharacter, kLongestValue);
        const size_t next = RunEnd(text_, value.end, IsBlank, 16);
        if (next < text_.size()) {
            const wchar_t c = text_[next];
            // A call or an index is code; a word after the value on its line is prose, unless
            // it is the next item's name ("PW: x ID: y").
            if (c == L'(' || c == L'[' || c == L'<' || c == L'{') return nullopt;
            if (next > value.end && IsAsciiAlnum(c)) {
                const size_t word = RunEnd(text_, next, IsNameCharacter, kLongestName);
                if (word >= text_.size() || (!IsSeparator(text_[word]) && text_[word] != L',')) return nullopt;
            }
        }
    }
    const wstring_view shown = text_.substr(value.begin, value.end - value.begin);
    if (IsPlaceholderValue(shown)) return nullopt;
    if (!value.quoted) {
        // Code, or a metavariable of a manual ("FILE", "YOUR_TOKEN").
        if (IsAttributeChain(shown)) return nullopt;
        if (std::all_of(shown.begin(), shown.end(), [](wchar_t c) { return IsAsciiUpper(c) || c == L'_'; })) return nullopt;
        const std::vector<std::wstring> words = NameWords(name);
        std::wstring folded;
        for (const wchar_t c : shown) folded += Folded(c);
        if (!words.empty() && (folded == words.back() || NameWords(shown) == words)) return nullopt;
    }
    const size_t length = CharacterCount(shown);
    switch (kind) {
        case CredentialKind::Pin:
            if (length < 4 || !std::all_of(shown.begin(), shown.end(), [](wchar_t c) { return IsAsciiDigit(FoldWidth(c)); })) {
                return nullopt;
            }
            break;
        case CredentialKind::Passphrase:
            if (length < 2) return nullopt;
            break;
        case CredentialKind::Secret:
            if (length < 8 || (!LooksRandom(shown) && length < 20)) return nullopt;
            break;
        default:
            if (length < 4) return nullopt;
            // Behind a short label ("PASS", "PW") a word alone is more likely prose than a password.
            if ((WholeWordAtEnd(name, L"pass") || WholeWordAtEnd(name, L"pw")) &&
                std::all_of(shown.begin(), shown.end(), [](wchar_t c) { return IsAsciiAlpha(FoldWidth(c)); })) {
                return nullopt;
            }
            break;
    }
    return value;
}

std::optional<CredentialMatch> LabelledSecretFinder::Assignment(size_t nameBegin, size_t nameEnd, size_t separatorEnd,
                                                                std::wstring_view shownSeparator) {
    const wstring_view name = text_.substr(nameBegin, nameEnd - nameBegin);
    const optional<CredentialKind> kind = LabelKind(name);
    if (!kind) return nullopt;
    const optional<Value> value = ValueAfter(separatorEnd, *kind, name);
    if (!value) return nullopt;
    return CredentialMatch{.kind = *kind,
                           .position = nameBegin,
                           .length = value->end + (value->quoted ? 1 : 0) - nameBegin,
                           .shownPrefix = std::wstring(name) + std::wstring(shownSeparator),
                           .hiddenLength = CharacterCount(text_.substr(value->begin, value->end - value->begin)),
                           .item = std::wstring(name)};
}

const size_t LabelledSecretFinder::kStemReach = kLongestName + kBlanksBeforeSeparator + 1;

bool LabelledSecretFinder::StemStartsAt(size_t at) const {
    const unsigned char c = kNameReading.of[static_cast<unsigned short>(text_[at])];
    const unsigned char next = at + 1 < text_.size() ? kNameReading.of[static_cast<unsigned short>(text_[at + 1])] : 0;
    return (c == kStemLead || kNameReading.stemAt[c][next] != 0) && StemAt(text_, at, c, next);
}

// The first stem from `from` on, else the text's end: sixteen places at a time, each place of a
// block with a character beyond ASCII one by one.
size_t LabelledSecretFinder::FirstStemFrom(size_t from) const {
    constexpr size_t kBlock = 16;
    size_t at = from;
    for (; at + kBlock < text_.size(); at += kBlock) {
        for (unsigned places = StemCandidates(text_.data() + at); places != 0; places &= places - 1) {
            const size_t place = at + static_cast<size_t>(__builtin_ctz(places));
            if (StemStartsAt(place)) return place;
        }
    }
    for (; at < text_.size(); ++at) {
        if (StemStartsAt(at)) return at;
    }
    return text_.size();
}

// The stems are found in the text's order, each once, and none that ends out of reach of the
// separator: the stems of a text cost one pass, however many separators it holds.
void LabelledSecretFinder::FindStemsBefore(size_t separator) {
    const size_t reachStart = separator > kStemReach ? separator - kStemReach : 0;
    if (!stemsSearched_) {
        stemsSearched_ = true;
        nextStem_ = FirstStemFrom(reachStart);
    }
    while (nextStem_ < separator) {
        lastStem_ = nextStem_;
        nextStem_ = FirstStemFrom(std::max(nextStem_ + 1, reachStart));
    }
}

std::optional<CredentialMatch> LabelledSecretFinder::AtSeparator(size_t position) {
    const wchar_t separator = text_[position];
    size_t end = position;
    wstring_view shownSeparator = text_.substr(position, 1);
    if (separator == L'>') {
        if (position == 0 || text_[position - 1] != L'=') return XmlElement(position);
        end = position - 1;  // "=>"
        shownSeparator = text_.substr(position - 1, 2);
    } else if (separator == L':') {
        // C++'s scope operator.
        if ((position > 0 && text_[position - 1] == L':') || (position + 1 < text_.size() && text_[position + 1] == L':')) {
            return nullopt;
        }
    } else if (separator == L'=') {
        // A comparison, not an assignment.
        if (position + 1 < text_.size() && (text_[position + 1] == L'=' || text_[position + 1] == L'>')) return nullopt;
        if (position > 0 && (text_[position - 1] == L'=' || text_[position - 1] == L'!' || text_[position - 1] == L'<' ||
                             text_[position - 1] == L'>')) {
            return nullopt;
        }
    }
    while (end > 0 && position - end < kBlanksBeforeSeparator && IsBlank(text_[end - 1])) --end;
    // A quoted name: "\"password\": …", "'pass' => …".
    const bool quoted = end > 0 && IsQuote(text_[end - 1]);
    const size_t nameEnd = quoted ? end - 1 : end;
    const NameBack name = ReadNameBack(text_, nameEnd);
    if (!name.holdsStem) return nullopt;
    const size_t nameBegin = name.begin;
    if (quoted && (nameBegin == 0 || text_[nameBegin - 1] != text_[nameEnd])) return nullopt;
    return Assignment(nameBegin, nameEnd, position + 1, shownSeparator);
}

// A call whose first argument, quoted, names the second: "define('DB_PASSWORD', 'x')". Looked
// for at the bracket, which is rarer than the comma in data.
std::optional<CredentialMatch> LabelledSecretFinder::AtCall(size_t open) {
    const size_t quote = RunEnd(text_, open + 1, IsBlank, 8);
    if (quote >= text_.size() || !IsQuote(text_[quote])) return nullopt;
    const size_t nameEnd = RunEnd(text_, quote + 1, IsNameCharacter, kLongestName);
    if (nameEnd == quote + 1 || nameEnd >= text_.size() || text_[nameEnd] != text_[quote]) return nullopt;
    const size_t comma = RunEnd(text_, nameEnd + 1, IsBlank, 8);
    if (comma >= text_.size() || text_[comma] != L',') return nullopt;
    return Assignment(quote + 1, nameEnd, comma + 1, text_.substr(comma, 1));
}

// "<password>value</password>".
std::optional<CredentialMatch> LabelledSecretFinder::XmlElement(size_t position) {
    const NameBack read = ReadNameBack(text_, position);
    const size_t nameBegin = read.begin;
    if (!read.holdsStem || nameBegin == 0 || text_[nameBegin - 1] != L'<') return nullopt;
    const wstring_view name = text_.substr(nameBegin, position - nameBegin);
    const optional<CredentialKind> kind = LabelKind(name);
    if (!kind) return nullopt;
    const size_t end = RunEnd(text_, position + 1, [](wchar_t c) { return c != L'<' && !IsLineBreak(c); }, kLongestValue);
    if (!StandsAt(text_, end, L"</")) return nullopt;
    const wstring_view value = text_.substr(position + 1, end - position - 1);
    if (IsPlaceholderValue(value) || CharacterCount(value) < 4) return nullopt;
    return CredentialMatch{.kind = *kind,
                           .position = nameBegin - 1,
                           .length = end - nameBegin + 1,
                           .shownPrefix = L"<" + std::wstring(name) + L">",
                           .hiddenLength = CharacterCount(value),
                           .item = std::wstring(name)};
}

// netrc(5) and apt_auth.conf(5): "machine <host> login <user> password <secret>", on one line or
// several; a "password" word counts only in an entry: "machine" or "default", then "login".
bool LabelledSecretFinder::NetrcWordBefore(size_t position) {
    constexpr size_t kReach = 256;
    const size_t from = position > kReach ? position - kReach : 0;
    for (size_t at = std::max(from, netrcSearchedTo_); at < position; ++at) {
        const wchar_t c = text_[at];
        if ((c != L'm' && c != L'd' && c != L'l') || !WordStartsAt(text_, at)) continue;
        if (StandsAt(text_, at, L"machine ") || StandsAt(text_, at, L"default ")) netrcEntryAt_ = at;
        if (StandsAt(text_, at, L"login ")) netrcLoginAt_ = at;
    }
    netrcSearchedTo_ = std::max(netrcSearchedTo_, position);
    return netrcEntryAt_ != kNoPlace && netrcLoginAt_ != kNoPlace && netrcEntryAt_ >= from && netrcEntryAt_ < netrcLoginAt_;
}

std::optional<CredentialMatch> LabelledSecretFinder::AtLabelEnd(size_t position) {
    const wchar_t last = text_[position];
    if (last == L'w' || last == L'W') {
        const size_t begin = position + 1 - std::min(position + 1, kNetrcLabelStart.size());
        if (!WordStartsAt(text_, begin) || !StandsAt(text_, begin, kNetrcLabelStart, true)) return nullopt;
        size_t end = position + 1;
        if (StandsAt(text_, end, L"ord", true)) end += 3;
        else if (StandsAt(text_, end, L"d", true)) end += 1;
        else return nullopt;
        const size_t valueBegin = RunEnd(text_, end, IsBlank, 16);
        if (valueBegin == end || !NetrcWordBefore(begin)) return nullopt;
        const size_t valueEnd = RunEnd(text_, valueBegin, [](wchar_t c) { return c > L' ' && c != L'\u3000'; }, kLongestValue);
        const wstring_view value = text_.substr(valueBegin, valueEnd - valueBegin);
        if (value.empty() || value[0] == L'(' || IsPlaceholderValue(value) || value == L"machine" || value == L"login") {
            return nullopt;
        }
        const wstring_view label = text_.substr(begin, end - begin);
        return CredentialMatch{.kind = CredentialKind::Password,
                               .position = begin,
                               .length = valueEnd - begin,
                               .shownPrefix = std::wstring(label) + L" ",
                               .hiddenLength = CharacterCount(value),
                               .item = std::wstring(label)};
    }
    const JapaneseLabel* label = nullptr;
    for (const JapaneseLabel& candidate : kJapaneseLabels) {
        if (EndsBefore(text_, position + 1, candidate.text)) label = &candidate;
    }
    if (!label) return nullopt;
    const size_t begin = position + 1 - label->text.size();
    size_t at = position + 1;
    if (StandsAt(text_, at, L"】") || StandsAt(text_, at, L"]")) ++at;
    at = RunEnd(text_, at, IsBlank, 8);
    if (StandsAt(text_, at, L"は")) at = RunEnd(text_, at + 1, IsBlank, 8);
    if (at == position + 1) return nullopt;  // a separator of its own is read there
    const optional<Value> value = ValueAfter(at, label->kind, label->text);
    if (!value) return nullopt;
    const size_t shownBegin = begin > 0 && text_[begin - 1] == L'【' ? begin - 1 : begin;
    return CredentialMatch{.kind = label->kind,
                           .position = shownBegin,
                           .length = value->end + (value->quoted ? 1 : 0) - shownBegin,
                           .shownPrefix = std::wstring(text_.substr(shownBegin, value->begin - (value->quoted ? 1 : 0) - shownBegin)),
                           .hiddenLength = CharacterCount(text_.substr(value->begin, value->end - value->begin)),
                           .item = std::wstring(label->text)};
}

// PostgreSQL's password file (libpq-pgpass): "hostname:port:database:username:password", each
// of the first four a name or "*", the port digits; no blanks, no comment.
std::optional<CredentialMatch> LabelledSecretFinder::AtLineEnd(size_t lineStart, size_t lineEnd) const {
    if (lineEnd > lineStart && text_[lineEnd - 1] == L'\r') --lineEnd;
    const wstring_view line = text_.substr(lineStart, lineEnd - lineStart);
    if (line.empty() || line.size() > 512 || line[0] == L'#' || std::any_of(line.begin(), line.end(), IsBlank)) {
        return nullopt;
    }
    std::vector<wstring_view> fields;
    size_t fieldStart = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || (line[i] == L':' && (i == 0 || line[i - 1] != L'\\'))) {
            fields.push_back(line.substr(fieldStart, i - fieldStart));
            fieldStart = i + 1;
        }
    }
    if (fields.size() != 5 || std::any_of(fields.begin(), fields.end() - 1, [](wstring_view f) { return f.empty(); })) {
        return nullopt;
    }
    const wstring_view host = fields[0];
    const wstring_view port = fields[1];
    if (host != L"*" && std::none_of(host.begin(), host.end(), [](wchar_t c) { return IsAsciiAlpha(c) || c == L'.'; })) {
        return nullopt;
    }
    if (port != L"*" && !std::all_of(port.begin(), port.end(), IsAsciiDigit)) return nullopt;
    const wstring_view password = fields[4];
    if (CharacterCount(password) < 4 || IsPlaceholderValue(password)) return nullopt;
    return CredentialMatch{.kind = CredentialKind::Password,
                           .position = lineStart,
                           .length = lineEnd - lineStart,
                           .shownPrefix = L"",
                           .hiddenLength = CharacterCount(password),
                           .item = L""};
}

}  // namespace veltrano
