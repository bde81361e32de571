#pragma once
// Small, bounded readings of a text around a place, shared by the credential detectors. Nothing
// here reads further than it is told.
#include <cstddef>
#include <string_view>

namespace veltrano::credential_text {

// A place that is not in the text: none found, or none set.
inline constexpr size_t kNoPlace = static_cast<size_t>(-1);

constexpr bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
constexpr bool IsAsciiUpper(wchar_t c) { return c >= L'A' && c <= L'Z'; }
constexpr bool IsAsciiLower(wchar_t c) { return c >= L'a' && c <= L'z'; }
constexpr bool IsAsciiAlpha(wchar_t c) { return IsAsciiUpper(c) || IsAsciiLower(c); }
constexpr bool IsAsciiAlnum(wchar_t c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }
constexpr bool IsWordChar(wchar_t c) { return IsAsciiAlnum(c) || c == L'_'; }
// RFC 4648 base64 and its URL-safe alphabet; crypt(5)'s own base-64 alphabet.
constexpr bool IsBase64(wchar_t c) { return IsAsciiAlnum(c) || c == L'+' || c == L'/'; }
constexpr bool IsBase64Url(wchar_t c) { return IsAsciiAlnum(c) || c == L'-' || c == L'_'; }
constexpr bool IsCryptChar(wchar_t c) { return IsAsciiAlnum(c) || c == L'.' || c == L'/'; }
constexpr bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u3000' || c == L'\u00A0'; }
constexpr bool IsLineBreak(wchar_t c) { return c == L'\n' || c == L'\r'; }
constexpr bool IsSpace(wchar_t c) { return IsBlank(c) || IsLineBreak(c); }

// Full-width ASCII as ASCII ("ＰＷ：" reads "PW:"); other characters as they are.
constexpr wchar_t FoldWidth(wchar_t c) { return c >= L'\uFF01' && c <= L'\uFF5E' ? static_cast<wchar_t>(c - 0xFEE0) : c; }
constexpr wchar_t FoldCase(wchar_t c) { return IsAsciiUpper(c) ? static_cast<wchar_t>(c + 32) : c; }
constexpr wchar_t Folded(wchar_t c) { return FoldCase(FoldWidth(c)); }

// The end of the run of `is` characters from `from`, read up to `limit` characters.
template <typename Is>
size_t RunEnd(std::wstring_view text, size_t from, Is is, size_t limit = kNoPlace) {
    const size_t stop = limit >= text.size() - from ? text.size() : from + limit;
    size_t at = from;
    while (at < stop && is(text[at])) ++at;
    return at;
}

// Whether `literal` stands at `at`; with `fold`, ASCII case and width do not matter.
inline bool StandsAt(std::wstring_view text, size_t at, std::wstring_view literal, bool fold = false) {
    if (at > text.size() || text.size() - at < literal.size()) return false;
    for (size_t i = 0; i < literal.size(); ++i) {
        if (fold ? Folded(text[at + i]) != Folded(literal[i]) : text[at + i] != literal[i]) return false;
    }
    return true;
}
// Whether `literal` ends right before `at`.
inline bool EndsBefore(std::wstring_view text, size_t at, std::wstring_view literal, bool fold = false) {
    return at >= literal.size() && StandsAt(text, at - literal.size(), literal, fold);
}
// A literal's length is known where it is written: no measuring it at every place.
template <size_t N>
bool StandsAt(std::wstring_view text, size_t at, const wchar_t (&literal)[N], bool fold = false) {
    return StandsAt(text, at, std::wstring_view(literal, N - 1), fold);
}
template <size_t N>
bool EndsBefore(std::wstring_view text, size_t at, const wchar_t (&literal)[N], bool fold = false) {
    return EndsBefore(text, at, std::wstring_view(literal, N - 1), fold);
}

// A word begins at `at`: nothing of a word stands right before it.
inline bool WordStartsAt(std::wstring_view text, size_t at) { return at == 0 || !IsWordChar(text[at - 1]); }

}  // namespace veltrano::credential_text
