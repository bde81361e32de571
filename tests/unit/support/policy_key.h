#pragma once
// Policy values in a registry key of this test process's own (the unit tests share one registry),
// below HKLM and HKCU, deleted with it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace veltrano::test {

struct PolicyKey {
    PolicyKey() = default;
    PolicyKey(const PolicyKey&) = delete;
    PolicyKey& operator=(const PolicyKey&) = delete;
    ~PolicyKey() {
        for (const HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) ::RegDeleteTreeW(hive, root.c_str());
    }

    void Set(HKEY hive, const wchar_t* sectionName, const wchar_t* key, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetKeyValueW(hive, (root + L"\\" + sectionName).c_str(), key, type, data, size), ERROR_SUCCESS);
    }
    void SetDword(HKEY hive, const wchar_t* sectionName, const wchar_t* key, std::int32_t value) {
        Set(hive, sectionName, key, REG_DWORD, &value, sizeof value);
    }
    void SetText(HKEY hive, const wchar_t* sectionName, const wchar_t* key, const std::wstring& text) {
        Set(hive, sectionName, key, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    const std::wstring root = L"SOFTWARE\\Policies\\VeltranoTest-" + std::to_wstring(::GetCurrentProcessId());
};

}  // namespace veltrano::test
