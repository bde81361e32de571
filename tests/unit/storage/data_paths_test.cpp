#include "storage/data_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/scope_exit.h"

namespace veltrano {
namespace {

std::wstring Sanitized(std::wstring name) {
    SanitizeFileName(name);
    return name;
}

TEST(SanitizeFileName, ReplacesForbiddenCharactersAndTrimsTheEnd) {
    EXPECT_EQ(Sanitized(L"a.b."), L"a.b");
    EXPECT_EQ(Sanitized(L"x:y"), L"x_y");
    EXPECT_EQ(Sanitized(L"\\/:*?\"<>|"), L"_________");
    EXPECT_EQ(Sanitized(std::wstring(L"a\tb\x01" L"c\x1F")), L"a_b_c_");
    EXPECT_EQ(Sanitized(L". .. "), L"file");
    EXPECT_EQ(Sanitized(L""), L"file");
    EXPECT_EQ(Sanitized(L" .山田 . "), L" .山田");
    EXPECT_EQ(Sanitized(L"CON"), L"CON");
}

TEST(DataPaths, BuildsEveryPathFromFolderAndUser) {
    const DataPaths paths{L"C:\\プログラム", L"taro"};
    EXPECT_EQ(paths.DataFile(L"_wildcard_keywords", L".txt"), L"C:\\プログラム\\taro_wildcard_keywords.txt");
    EXPECT_EQ(paths.DataFolder(L"_log"), L"C:\\プログラム\\taro_log");
    EXPECT_EQ(paths.SettingsFile(), L"C:\\プログラム\\taro_Veltrano.ini");
}

TEST(DataPaths, MissingPartsGiveNoPath) {
    const DataPaths noFolder{L"", L"taro"};
    EXPECT_EQ(noFolder.DataFile(L"_regex_keywords", L".bin"), L"");
    EXPECT_EQ(noFolder.DataFolder(L"_copy"), L"");
    EXPECT_EQ(noFolder.SettingsFile(), L"");

    // A data file without a user still has a name; folders and the settings file do not.
    const DataPaths noUser{L"C:\\p", L""};
    EXPECT_EQ(noUser.DataFile(L"_regex_keywords", L".bin"), L"C:\\p\\_regex_keywords.bin");
    EXPECT_EQ(noUser.DataFolder(L"_history"), L"");
    EXPECT_EQ(noUser.SettingsFile(), L"");
}

// An unpacked copy keeps its data beside itself; the copy in the folder the installer recorded (in
// any case, with its trailing separator) keeps it in the profile.
TEST(DataPaths, ThisProcessUsesTheExecutableFolderOrWhenInstalledTheProfile) {
    wchar_t module[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expectedFolder(module, length);
    expectedFolder.erase(expectedFolder.find_last_of(L"\\/"));

    wchar_t user[257];
    DWORD size = 257;
    ASSERT_TRUE(::GetUserNameW(user, &size));

    const DataPaths paths = DataPaths::ForThisProcess();
    EXPECT_EQ(paths.dataFolder, expectedFolder);
    EXPECT_EQ(paths.programFolder, expectedFolder);
    EXPECT_EQ(paths.userPrefix, Sanitized(user));

    std::wstring recorded = expectedFolder + L"\\";
    ::CharUpperW(recorded.data());
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kInstallKey, kInstallFolderValue, REG_SZ, recorded.c_str(),
                                static_cast<DWORD>((recorded.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const ScopeExit uninstall([] { ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kInstallKey); });
    wchar_t profile[MAX_PATH];
    ASSERT_NE(::GetEnvironmentVariableW(L"LOCALAPPDATA", profile, MAX_PATH), 0u);
    const DataPaths installed = DataPaths::ForThisProcess();
    EXPECT_EQ(installed.dataFolder, std::wstring(profile) + L"\\Veltrano");
    EXPECT_EQ(installed.programFolder, expectedFolder);
    EXPECT_EQ(installed.DataFile(L"_regex_keywords", L".txt"), installed.dataFolder + L"\\" + paths.userPrefix + L"_regex_keywords.txt");
    EXPECT_NE(::GetFileAttributesW(installed.dataFolder.c_str()), INVALID_FILE_ATTRIBUTES) << "created";
}

}  // namespace
}  // namespace veltrano
