#pragma once
// Read and write rules of the per-user INI file. Every call goes to the file through the
// profile functions: nothing is cached, so a saved value takes effect at its next use.
#include <string>

namespace veltrano {

class IniFile {
public:
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& Path() const noexcept { return path_; }

    // True exactly for "1", "true", "on" or "yes" in any case; missing key gives `fallback`.
    bool ReadBool(const wchar_t* section, const wchar_t* key, bool fallback) const;
    // Read as text, not with GetPrivateProfileIntW (which gives 0 for "abc" and, on Windows, for
    // any negative value): an optional minus sign and ASCII digits, limited to [low, high]; any
    // other text, or none, gives `fallback`.
    int ReadInt(const wchar_t* section, const wchar_t* key, int fallback, int low, int high) const;
    // At most 2047 characters come back.
    std::wstring ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) const;

    // False on failure. A new file is started as UTF-16LE so Japanese values survive.
    bool WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value);
    bool WriteBool(const wchar_t* section, const wchar_t* key, bool value);
    bool WriteInt(const wchar_t* section, const wchar_t* key, int value);

private:
    std::wstring path_;  // empty: every read gives its default, every write fails
};

}  // namespace veltrano
