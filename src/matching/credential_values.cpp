#include "matching/credential_values.h"

#include <algorithm>
#include <string>

#include "matching/credential_text.h"

namespace veltrano {
namespace {

using namespace credential_text;

bool IsMaskCharacter(wchar_t c) {
    switch (FoldWidth(c)) {
        case L'*': case L'x': case L'X': case L'#': case L'?': case L'.': case L'-': case L'_':
        case L'\u25CF': case L'\u2022': case L'\u25CB': case L'\u00D7': case L'\u2026': case L'\u30FB':
            return true;
        default:
            return false;
    }
}

// Words that documentation and sample files put where a secret goes. Real weak passwords
// ("secret123", "Passw0rd!") are not among them.
constexpr std::wstring_view kStandInWords[] = {
    L"password", L"passwd", L"pass", L"pwd", L"secret", L"token", L"changeme", L"change_me", L"changeit",
    L"example", L"sample", L"dummy", L"test", L"none", L"null", L"nil", L"undefined", L"true", L"false",
    L"redacted", L"hidden", L"hoge", L"fuga", L"piyo", L"foo", L"bar", L"mypassword", L"my_password",
    L"password_here", L"username_here", L"put your unique phrase here", L"str", L"string", L"required",
    L"optional", L"empty", L"files", L"compat", L"nullptr",
};

// Notes that the secret comes another way: 「(別送)」「別途お送りします」「別メール」.
constexpr std::wstring_view kSentSeparately[] = {L"別送", L"別途", L"別メール", L"後ほど", L"後日"};

std::wstring FoldedText(std::wstring_view text) {
    std::wstring folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), Folded);
    return folded;
}

bool Encloses(std::wstring_view value, std::wstring_view open, wchar_t close) {
    return value.size() > open.size() && value.starts_with(open) && value.back() == close;
}

}  // namespace

bool IsMaskRun(std::wstring_view value) {
    if (value.empty()) return true;
    if (std::all_of(value.begin(), value.end(), IsMaskCharacter)) return true;
    return value.size() >= 4 && std::all_of(value.begin(), value.end(), [&](wchar_t c) { return c == value[0]; });
}

bool IsPlaceholderValue(std::wstring_view value) {
    if (IsMaskRun(value)) return true;
    const std::wstring folded = FoldedText(value);
    const std::wstring_view v = folded;
    if (Encloses(v, L"<", L'>') || Encloses(v, L"[", L']') || Encloses(v, L"{", L'}') || Encloses(v, L"%", L'%') ||
        Encloses(v, L"(", L')')) {
        return true;
    }
    // A variable or template: "$TOKEN", "${PASS}", "$(PASS)", "%s", "{{ x }}".
    if (v.size() >= 2 && v[0] == L'$' && (IsWordChar(v[1]) || v[1] == L'{' || v[1] == L'(')) return true;
    if (v.starts_with(L"%") || v.starts_with(L"{{") || v.starts_with(L"enc(") || v.starts_with(L"!vault")) return true;
    if (v.starts_with(L"your") || v.starts_with(L"<your")) return true;
    if (std::find(std::begin(kStandInWords), std::end(kStandInWords), v) != std::end(kStandInWords)) return true;
    return std::any_of(std::begin(kSentSeparately), std::end(kSentSeparately),
                       [&](std::wstring_view note) { return v.find(note) != std::wstring_view::npos; });
}

bool Base64HoldsColon(std::wstring_view encoded) {
    unsigned bits = 0;
    int count = 0;
    for (const wchar_t c : encoded) {
        int value = -1;
        if (IsAsciiUpper(c)) value = c - L'A';
        else if (IsAsciiLower(c)) value = c - L'a' + 26;
        else if (IsAsciiDigit(c)) value = c - L'0' + 52;
        else if (c == L'+') value = 62;
        else if (c == L'/') value = 63;
        if (value < 0) break;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            if (((bits >> count) & 0xFF) == ':') return true;
        }
    }
    return false;
}

bool LooksRandom(std::wstring_view token) {
    const bool upper = std::any_of(token.begin(), token.end(), IsAsciiUpper);
    const bool lower = std::any_of(token.begin(), token.end(), IsAsciiLower);
    const bool digit = std::any_of(token.begin(), token.end(), IsAsciiDigit);
    return (digit && (upper || lower)) && !IsMaskRun(token);
}

}  // namespace veltrano
