#pragma once
// The only conversions between the program's wide text and UTF-8 bytes.
#include <string>
#include <string_view>

namespace veltrano {

// Strict: any invalid UTF-8 sequence throws std::runtime_error.
std::wstring Utf8ToWide(std::string_view bytes);

// Lenient: unpaired surrogates become U+FFFD. Throws std::runtime_error only for a text too long
// for the system's conversion (over INT_MAX units or bytes), never giving short bytes.
std::string WideToUtf8(std::wstring_view text);
// WideToUtf8 appended to `bytes`, for a caller that puts something before the text: a giant text
// is then converted once, into its final buffer.
void AppendUtf8(std::string& bytes, std::wstring_view text);

inline bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Whether a high surrogate lacks its low one or a low one stands alone.
bool HasLoneSurrogate(std::wstring_view text);
// The text as WideToUtf8 stores it: each lone surrogate becomes U+FFFD.
std::wstring ReplaceLoneSurrogates(std::wstring_view text);

}  // namespace veltrano
