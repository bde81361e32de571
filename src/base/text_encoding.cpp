#include "base/text_encoding.h"

#include <windows.h>

#include <limits>
#include <stdexcept>

namespace veltrano {

std::wstring Utf8ToWide(std::string_view bytes) {
    if (bytes.empty()) return {};
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        throw std::runtime_error("Utf8ToWide: invalid UTF-8 sequence");
    const int inLength = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (length <= 0) throw std::runtime_error("Utf8ToWide: invalid UTF-8 sequence");
    std::wstring text(static_cast<size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), inLength, text.data(), length) != length)
        throw std::runtime_error("Utf8ToWide: conversion failed");
    return text;
}

std::string WideToUtf8(std::wstring_view text) {
    std::string bytes;
    AppendUtf8(bytes, text);
    return bytes;
}

void AppendUtf8(std::string& bytes, std::wstring_view text) {
    if (text.empty()) return;
    if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        throw std::runtime_error("WideToUtf8: text too long to convert");
    const int inLength = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) throw std::runtime_error("WideToUtf8: text too long to convert");
    const size_t start = bytes.size();
    bytes.resize(start + static_cast<size_t>(length));
    if (::WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, bytes.data() + start, length, nullptr, nullptr) != length) {
        bytes.resize(start);
        throw std::runtime_error("WideToUtf8: conversion failed");
    }
}

namespace {

// Whether the unit at `i` is a surrogate without its partner.
bool LoneSurrogateAt(std::wstring_view text, size_t i) {
    if (IsLowSurrogate(text[i])) return i == 0 || !IsHighSurrogate(text[i - 1]);
    if (IsHighSurrogate(text[i])) return i + 1 == text.size() || !IsLowSurrogate(text[i + 1]);
    return false;
}

}  // namespace

bool HasLoneSurrogate(std::wstring_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (LoneSurrogateAt(text, i)) return true;
    }
    return false;
}

std::wstring ReplaceLoneSurrogates(std::wstring_view text) {
    std::wstring result(text);
    for (size_t i = 0; i < text.size(); ++i) {
        if (LoneSurrogateAt(text, i)) result[i] = 0xFFFD;
    }
    return result;
}

}  // namespace veltrano
