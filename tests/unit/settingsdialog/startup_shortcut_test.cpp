#include "settingsdialog/startup_shortcut.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "storage/data_paths.h"
#include "support/temp_folder.h"

namespace veltrano {
namespace {

std::wstring ThisExecutable() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::wstring(buffer, length);
}

// The show command as saved: the file header's field at offset 0x3C. The shell link object reads
// anything but 1, 3 and 7 back as 1, so only the file shows that 5 was written.
int SavedShowCommand(const std::wstring& shortcutPath) {
    std::ifstream file(std::filesystem::path(shortcutPath), std::ios::binary);
    unsigned char field[4] = {};
    file.seekg(0x3C);
    file.read(reinterpret_cast<char*>(field), sizeof field);
    return field[0] | field[1] << 8 | field[2] << 16 | field[3] << 24;
}

struct LoadedShortcut {
    std::wstring path;
    std::wstring arguments;
    std::wstring workingFolder;
    std::wstring iconPath;
    int iconIndex = -1;
    std::wstring description;
};

// The test thread joins an apartment of its own, as the program's thread does at start.
class StartupShortcut : public ::testing::Test {
protected:
    void SetUp() override { apartment_ = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    void TearDown() override {
        if (SUCCEEDED(apartment_)) ::CoUninitialize();
    }

    std::wstring ShortcutPath() const { return folder_.Path() + L"\\Veltrano.lnk"; }

    // Reads the shortcut back through the shell link object, as Explorer would.
    static LoadedShortcut Load(const std::wstring& shortcutPath) {
        LoadedShortcut loaded;
        IShellLinkW* link = nullptr;
        EXPECT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)),
                  S_OK);
        if (!link) return loaded;
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            EXPECT_EQ(file->Load(shortcutPath.c_str(), STGM_READ), S_OK);
            wchar_t text[1024] = {};
            if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) loaded.path = text;
            text[0] = 0;
            if (SUCCEEDED(link->GetArguments(text, 1024))) loaded.arguments = text;
            text[0] = 0;
            if (SUCCEEDED(link->GetWorkingDirectory(text, 1024))) loaded.workingFolder = text;
            text[0] = 0;
            if (SUCCEEDED(link->GetIconLocation(text, 1024, &loaded.iconIndex))) loaded.iconPath = text;
            text[0] = 0;
            if (SUCCEEDED(link->GetDescription(text, 1024))) loaded.description = text;
            file->Release();
        }
        link->Release();
        return loaded;
    }

private:
    HRESULT apartment_ = E_FAIL;
    test::TempFolder folder_;
};

TEST_F(StartupShortcut, CreateExistsDeleteRoundTrip) {
    const std::wstring shortcut = ShortcutPath();
    EXPECT_FALSE(ShortcutExistsAt(shortcut));

    ASSERT_TRUE(CreateShortcutAt(shortcut, L""));
    EXPECT_TRUE(ShortcutExistsAt(shortcut));

    const LoadedShortcut loaded = Load(shortcut);
    EXPECT_EQ(loaded.path, ThisExecutable());
    EXPECT_EQ(loaded.arguments, L"");
    EXPECT_EQ(loaded.workingFolder, ProgramFolder());
    EXPECT_EQ(SavedShowCommand(shortcut), SW_SHOW);
    EXPECT_EQ(loaded.iconPath, ThisExecutable());
    EXPECT_EQ(loaded.iconIndex, 0);
    EXPECT_EQ(loaded.description, L"Veltrano");

    DeleteShortcutAt(shortcut);
    EXPECT_FALSE(ShortcutExistsAt(shortcut));
}

TEST_F(StartupShortcut, ArgumentsAreStoredAndAnExistingShortcutIsOverwritten) {
    const std::wstring shortcut = ShortcutPath();
    ASSERT_TRUE(CreateShortcutAt(shortcut, L""));
    ASSERT_TRUE(CreateShortcutAt(shortcut, L"/起動"));
    EXPECT_EQ(Load(shortcut).arguments, L"/起動");
    DeleteShortcutAt(shortcut);
}

TEST_F(StartupShortcut, EmptyPathNeitherExistsNorIsCreated) {
    EXPECT_FALSE(ShortcutExistsAt(L""));
    EXPECT_FALSE(CreateShortcutAt(L"", L""));
    DeleteShortcutAt(L"");  // does nothing and reports nothing
}

TEST_F(StartupShortcut, DeletingAMissingShortcutDoesNothing) {
    DeleteShortcutAt(ShortcutPath());
    EXPECT_FALSE(ShortcutExistsAt(ShortcutPath()));
}

TEST_F(StartupShortcut, StartupPathIsTheLinkInTheUsersStartupFolder) {
    PWSTR folder = nullptr;
    ASSERT_EQ(::SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder), S_OK);
    const std::wstring expected = std::wstring(folder) + L"\\Veltrano.lnk";
    ::CoTaskMemFree(folder);
    EXPECT_EQ(StartupShortcutPath(), expected);
}

}  // namespace
}  // namespace veltrano
