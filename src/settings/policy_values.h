#pragma once
// Values an organisation sets for its users through Group Policy or Intune: registry values
// under SOFTWARE\Policies\Veltrano\<section> of the machine and of the user, named as the key.
// A switch or a number is a REG_DWORD (a number read as signed 32 bits), a text a REG_SZ. The
// machine's value wins over the user's; a value of the wrong type or outside the key's range is
// not used and is reported once per key. Read at each use, so a policy refresh applies at once.
#include <windows.h>

#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/setting_keys.h"

namespace veltrano {

inline constexpr wchar_t kPolicyRoot[] = L"SOFTWARE\\Policies\\Veltrano";

// A value that is not used: its registry path (hive, key and value name) and why.
struct IgnoredPolicyValue {
    std::wstring value;
    std::wstring reason;
};

class PolicyValues {
public:
    // `root`: the key below HKLM and HKCU; tests give one of their own.
    explicit PolicyValues(std::wstring root = kPolicyRoot) : root_(std::move(root)) {}

    std::optional<bool> Read(const BoolSetting& setting) const;
    std::optional<int> Read(const IntSetting& setting) const;
    std::optional<std::wstring> Read(const TextSetting& setting) const;

    // Told, once per value and session, why a value is not used. Called on the reading thread,
    // outside any lock of this class.
    void SetIgnoredReporter(std::function<void(const IgnoredPolicyValue&)> reporter);

private:
    struct RawValue {
        DWORD type = REG_NONE;
        std::vector<BYTE> bytes;
    };
    // A value's conversion: the value, or why it cannot be used.
    template <typename T>
    struct Converted {
        std::optional<T> value;
        std::wstring refusal;
    };
    template <typename T, typename Convert>
    std::optional<T> ReadUsable(const wchar_t* section, const wchar_t* key, Convert convert) const;
    std::optional<RawValue> ReadRaw(HKEY hive, const wchar_t* section, const wchar_t* key) const;
    void ReportIgnored(HKEY hive, const wchar_t* section, const wchar_t* key, const std::wstring& refusal) const;

    std::wstring root_;
    mutable std::mutex mutex_;
    mutable std::set<std::wstring> reported_;
    std::function<void(const IgnoredPolicyValue&)> reporter_;
};

}  // namespace veltrano
