#include "settings/ini_file.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "base/decimal_text.h"
#include "base/unique_any.h"

namespace veltrano {
namespace {

constexpr DWORD kStringBufferLength = 2048;

// The profile functions keep the encoding of an existing file and write ANSI into a new one;
// starting the file with a UTF-16LE byte order mark makes them store Unicode.
bool EnsureUnicodeFile(const std::wstring& path) {
    UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError() == ERROR_FILE_EXISTS;
    static constexpr unsigned char kUtf16LeBom[] = {0xFF, 0xFE};
    DWORD written = 0;
    return ::WriteFile(file.Get(), kUtf16LeBom, sizeof kUtf16LeBom, &written, nullptr) && written == sizeof kUtf16LeBom;
}

}  // namespace

bool IniFile::ReadBool(const wchar_t* section, const wchar_t* key, bool fallback) const {
    std::wstring value = ReadString(section, key, fallback ? L"true" : L"false");
    std::transform(value.begin(), value.end(), value.begin(), [](wchar_t c) { return std::towlower(c); });
    return value == L"1" || value == L"true" || value == L"on" || value == L"yes";
}

int IniFile::ReadInt(const wchar_t* section, const wchar_t* key, int fallback, int low, int high) const {
    const std::optional<long long> value = ParseSignedSaturating(ReadString(section, key, L""));
    if (!value) return std::clamp(fallback, low, high);
    return static_cast<int>(std::clamp<long long>(*value, low, high));
}

std::wstring IniFile::ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) const {
    if (path_.empty()) return fallback;
    wchar_t buffer[kStringBufferLength];
    const DWORD length = ::GetPrivateProfileStringW(section, key, fallback, buffer, kStringBufferLength, path_.c_str());
    return std::wstring(buffer, std::min(length, kStringBufferLength - 1));
}

bool IniFile::WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    if (path_.empty() || !EnsureUnicodeFile(path_)) return false;
    return ::WritePrivateProfileStringW(section, key, value.c_str(), path_.c_str()) != FALSE;
}

bool IniFile::WriteBool(const wchar_t* section, const wchar_t* key, bool value) {
    return WriteString(section, key, value ? L"true" : L"false");
}

bool IniFile::WriteInt(const wchar_t* section, const wchar_t* key, int value) {
    return WriteString(section, key, std::to_wstring(value));
}

}  // namespace veltrano
