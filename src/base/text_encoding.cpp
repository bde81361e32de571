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
    if (text.empty() || text.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return {};
    const int inLength = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    if (::WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, bytes.data(), length, nullptr, nullptr) != length)
        return {};
    return bytes;
}

}  // namespace veltrano
