// The per-machine installer as an administrator deploys it, in the test's own fresh prefix: a
// silent install, the installed guard with the user's data in their profile, an upgrade, a refused
// downgrade, an uninstall that keeps the data, and an install without the start at logon.
#include <windows.h>

#include <msi.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/text_encoding.h"
#include "driver/clipboard_access.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr wchar_t kUpgradeCode[] = L"{F8AE727C-6141-4850-8E5C-E94CA44ADC7A}";
constexpr wchar_t kInstallFolder[] = L"C:\\Program Files\\Veltrano";
constexpr wchar_t kProgram[] = L"C:\\Program Files\\Veltrano\\Veltrano.exe";
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kSourceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Veltrano";

// msiexec's exit code for these arguments, run silently.
DWORD Install(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = L"";
    ::GetSystemDirectoryW(system, MAX_PATH);
    const driver::StartedProgram installer =
        driver::StartProgram(std::wstring(system) + L"\\msiexec.exe", arguments + L" /qn", L"");
    return driver::WaitForExit(installer.process.Get(), 180000).value_or(WAIT_TIMEOUT);
}

std::wstring Package(const char* hostPath) {
    return L" \"" + driver::WindowsPathFromHost(Utf8ToWide(hostPath)) + L"\"";
}

using TypedValue = std::pair<std::wstring, DWORD>;

// A machine value as text (a number in decimal) with its type; nullopt when missing.
std::optional<TypedValue> MachineValue(const wchar_t* key, const wchar_t* name) {
    BYTE data[2 * MAX_PATH] = {};
    DWORD size = sizeof data - sizeof(wchar_t), type = 0;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type == REG_DWORD) return TypedValue{std::to_wstring(*reinterpret_cast<DWORD*>(data)), type};
    return TypedValue{reinterpret_cast<const wchar_t*>(data), type};
}

// The start-at-logon values that start Veltrano, for every user.
std::vector<std::wstring> RunValues() {
    std::vector<std::wstring> values;
    HKEY run = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ, &run) != ERROR_SUCCESS) return values;
    wchar_t name[256], data[MAX_PATH];
    for (DWORD i = 0, nameSize = 256, dataSize = sizeof data;
         ::RegEnumValueW(run, i, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &dataSize) == ERROR_SUCCESS;
         ++i, nameSize = 256, dataSize = sizeof data) {
        if (std::wstring_view(data).find(L"Veltrano.exe") != std::wstring_view::npos) values.push_back(data);
    }
    ::RegCloseKey(run);
    return values;
}

// The version of each installed package of the product.
std::vector<std::wstring> InstalledVersions() {
    std::vector<std::wstring> versions;
    wchar_t product[39];
    for (DWORD i = 0; ::MsiEnumRelatedProductsW(kUpgradeCode, 0, i, product) == ERROR_SUCCESS; ++i) {
        wchar_t version[32] = L"";
        DWORD size = 32;
        ::MsiGetProductInfoW(product, INSTALLPROPERTY_VERSIONSTRING, version, &size);
        versions.push_back(version);
    }
    return versions;
}

// The files below the install folder, relative to it.
std::vector<std::wstring> InstalledFiles() {
    std::vector<std::wstring> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kInstallFolder, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path().lexically_relative(kInstallFolder).wstring());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The self-test report of the program at `program`, written to its default place `report`.
std::string SelfTestReport(const std::wstring& program, const std::wstring& report) {
    const driver::StartedProgram check = driver::StartProgram(program, L"/SelfTest", L"");
    driver::WaitForExit(check.process.Get(), 120000);
    return driver::FileExists(report) ? driver::ReadFileBytes(report) : std::string();
}

std::wstring ProfileDataFolder() {
    wchar_t profile[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", profile, MAX_PATH);
    return std::wstring(profile) + L"\\Veltrano";
}

using Installer = ProgramTest;

TEST_F(Installer, InstallsGuardsUpgradesAndUninstallsKeepingTheUsersData) {
    ASSERT_EQ(Install(L"/i" + Package(VELTRANO_MSI_HOST_PATH)), 0u);
    const std::vector<std::wstring> placed = {L"PolicyDefinitions\\Veltrano.admx", L"PolicyDefinitions\\en-US\\Veltrano.adml",
                                              L"PolicyDefinitions\\ja-JP\\Veltrano.adml", L"Readme.txt", L"Veltrano.exe"};
    EXPECT_EQ(InstalledFiles(), placed);
    EXPECT_EQ(MachineValue(L"SOFTWARE\\Veltrano", L"InstallFolder"), TypedValue(std::wstring(kInstallFolder) + L"\\", REG_SZ));
    EXPECT_EQ(MachineValue(kSourceKey, L"EventMessageFile"), TypedValue(kProgram, REG_EXPAND_SZ));
    EXPECT_EQ(MachineValue(kSourceKey, L"TypesSupported"), TypedValue(L"7", REG_DWORD));
    EXPECT_EQ(RunValues(), std::vector<std::wstring>{L"\"" + std::wstring(kProgram) + L"\" /Logon"});
    // Events of another copy would lack their text: its self-test says so.
    EXPECT_NE(SelfTestReport(ProgramPath(), DataPath(L"_selftest.txt")).find(Utf8(L"イベントソース\t失敗")), std::string::npos);

    // The installed guard keeps the user's files in the profile, under the same names, and
    // writes nothing beside itself.
    UseInstalledProgram(kProgram, ProfileDataFolder());
    ::CreateDirectoryW(ProfileDataFolder().c_str(), nullptr);
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n");
    WriteDataText(L"_wildcard_keywords.txt", L"*secret*\n");
    const std::string report = SelfTestReport(kProgram, DataPath(L"_selftest.txt"));
    EXPECT_NE(report.find(Utf8(L"データフォルダ: " + ProfileDataFolder() + L"（書き込みできます）")), std::string::npos) << report;
    EXPECT_NE(report.find(Utf8(L"イベントソース\t成功")), std::string::npos) << report;
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::SetClipboardText(L"top secret");
    EXPECT_EQ(Utf8(TakeMessageBox(L"クリップボード検出 - Veltrano")),
              Utf8(L"一致部分: top secret\nワイルドカードキーワード: *secret*\n設定: 大文字小文字区別"));
    ASSERT_NO_FATAL_FAILURE(Exit());
    EXPECT_TRUE(driver::FileExists(DataPath(L"_regex_keywords.txt"))) << "its template, made in the profile";
    EXPECT_EQ(InstalledFiles(), placed) << "written beside the installed program";

    // A newer package replaces it; an older one is refused.
    ASSERT_EQ(Install(L"/i" + Package(VELTRANO_UPGRADE_MSI_HOST_PATH)), 0u);
    EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{L"" VELTRANO_UPGRADE_VERSION});
    EXPECT_EQ(RunValues().size(), 1u);
    EXPECT_NE(Install(L"/i" + Package(VELTRANO_MSI_HOST_PATH)), 0u);
    EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{L"" VELTRANO_UPGRADE_VERSION});

    // Uninstalling removes what the package placed and keeps what the user made.
    ASSERT_EQ(Install(L"/x" + Package(VELTRANO_UPGRADE_MSI_HOST_PATH)), 0u);
    EXPECT_TRUE(InstalledVersions().empty());
    EXPECT_TRUE(InstalledFiles().empty());
    EXPECT_EQ(MachineValue(L"SOFTWARE\\Veltrano", L"InstallFolder"), std::nullopt);
    EXPECT_EQ(MachineValue(kSourceKey, L"EventMessageFile"), std::nullopt);
    EXPECT_TRUE(RunValues().empty());
    EXPECT_TRUE(driver::FileExists(DataPath(L"_wildcard_keywords.txt")));

    ASSERT_EQ(Install(L"/i" + Package(VELTRANO_MSI_HOST_PATH) + L" STARTATLOGON=0"), 0u);
    EXPECT_TRUE(driver::FileExists(kProgram));
    EXPECT_TRUE(RunValues().empty()) << "STARTATLOGON=0 leaves out the start at logon";
}

}  // namespace
}  // namespace veltrano::e2e
