#include "settings/policy_values.h"

#include <cstdint>
#include <cstring>

namespace veltrano {
namespace {

std::wstring TypeName(DWORD type) {
    switch (type) {
        case REG_SZ: return L"REG_SZ";
        case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
        case REG_BINARY: return L"REG_BINARY";
        case REG_DWORD: return L"REG_DWORD";
        case REG_MULTI_SZ: return L"REG_MULTI_SZ";
        case REG_QWORD: return L"REG_QWORD";
    }
    return L"種類 " + std::to_wstring(type);
}

std::wstring WrongType(DWORD expected, DWORD found) {
    return L"種類が " + TypeName(expected) + L" ではなく " + TypeName(found) + L" です";
}

std::optional<std::int32_t> Dword(const std::vector<BYTE>& bytes) {
    if (bytes.size() != sizeof(std::int32_t)) return std::nullopt;
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

std::wstring OutOfRange(std::int32_t value, int low, int high) {
    return L"値 " + std::to_wstring(value) + L" が範囲 " + std::to_wstring(low) + L"～" + std::to_wstring(high) +
           L" の外です";
}

}  // namespace

std::optional<bool> PolicyValues::Read(const BoolSetting& setting) const {
    return ReadUsable<bool>(setting.section, setting.key, [](DWORD type, const std::vector<BYTE>& bytes) {
        const std::optional<std::int32_t> value = Dword(bytes);
        if (type != REG_DWORD || !value) return Converted<bool>{std::nullopt, WrongType(REG_DWORD, type)};
        if (*value != 0 && *value != 1) return Converted<bool>{std::nullopt, OutOfRange(*value, 0, 1)};
        return Converted<bool>{*value == 1, {}};
    });
}

std::optional<int> PolicyValues::Read(const IntSetting& setting) const {
    return ReadUsable<int>(setting.section, setting.key, [&](DWORD type, const std::vector<BYTE>& bytes) {
        const std::optional<std::int32_t> value = Dword(bytes);
        if (type != REG_DWORD || !value) return Converted<int>{std::nullopt, WrongType(REG_DWORD, type)};
        if (*value < setting.low || *value > setting.high) {
            return Converted<int>{std::nullopt, OutOfRange(*value, setting.low, setting.high)};
        }
        return Converted<int>{*value, {}};
    });
}

std::optional<std::wstring> PolicyValues::Read(const TextSetting& setting) const {
    return ReadUsable<std::wstring>(setting.section, setting.key, [](DWORD type, const std::vector<BYTE>& bytes) {
        if (type != REG_SZ) return Converted<std::wstring>{std::nullopt, WrongType(REG_SZ, type)};
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        text.resize(std::wcslen(text.c_str()));  // up to the first terminator
        return Converted<std::wstring>{std::move(text), {}};
    });
}

void PolicyValues::SetIgnoredReporter(std::function<void(const IgnoredPolicyValue&)> reporter) {
    const std::lock_guard lock(mutex_);
    reporter_ = std::move(reporter);
}

template <typename T, typename Convert>
std::optional<T> PolicyValues::ReadUsable(const wchar_t* section, const wchar_t* key, Convert convert) const {
    // An unusable machine value is as good as none: the user's policy may still hold one.
    for (const HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        const std::optional<RawValue> raw = ReadRaw(hive, section, key);
        if (!raw) continue;
        Converted<T> converted = convert(raw->type, raw->bytes);
        if (converted.value) return std::move(converted.value);
        ReportIgnored(hive, section, key, converted.refusal);
    }
    return std::nullopt;
}

std::optional<PolicyValues::RawValue> PolicyValues::ReadRaw(HKEY hive, const wchar_t* section,
                                                             const wchar_t* key) const {
    const std::wstring subkey = root_ + L"\\" + section;
    RawValue raw;
    DWORD size = 0;
    // A value can change between asking its size and reading it: ask again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        LSTATUS status = ::RegGetValueW(hive, subkey.c_str(), key, RRF_RT_ANY | RRF_NOEXPAND, &raw.type, nullptr, &size);
        if (status != ERROR_SUCCESS) return std::nullopt;
        raw.bytes.resize(size);
        status = ::RegGetValueW(hive, subkey.c_str(), key, RRF_RT_ANY | RRF_NOEXPAND, &raw.type,
                                raw.bytes.empty() ? nullptr : raw.bytes.data(), &size);
        if (status == ERROR_SUCCESS) {
            raw.bytes.resize(size);
            return raw;
        }
        if (status != ERROR_MORE_DATA) return std::nullopt;
    }
    return std::nullopt;
}

void PolicyValues::ReportIgnored(HKEY hive, const wchar_t* section, const wchar_t* key,
                                 const std::wstring& refusal) const {
    const std::wstring where = std::wstring(hive == HKEY_LOCAL_MACHINE ? L"HKEY_LOCAL_MACHINE\\" : L"HKEY_CURRENT_USER\\") +
                               root_ + L"\\" + section + L"\\" + key;
    std::function<void(const IgnoredPolicyValue&)> reporter;
    {
        const std::lock_guard lock(mutex_);
        if (!reported_.insert(where).second || !reporter_) return;
        reporter = reporter_;
    }
    reporter({where, refusal});
}

}  // namespace veltrano
