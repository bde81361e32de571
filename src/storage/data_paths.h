#pragma once
// Where every data file lives: beside the program, or in the user's profile for a copy the installer
// placed; per Windows user under a sanitized user prefix, with the same names in both places.
#include <string>
#include <string_view>

namespace veltrano {

// The executable's full path; empty when it cannot be determined.
std::wstring ProgramPath();

// The executable's folder without trailing separator; empty when it cannot be determined.
std::wstring ProgramFolder();

// The name of the user running the program; empty when it cannot be read.
std::wstring UserName();

// UserName, sanitized as a file-name component.
std::wstring UserFilePrefix();

// Makes any text usable as one file-name component.
void SanitizeFileName(std::wstring& name);

// Where the installer records the folder it placed the program in, below HKLM.
inline constexpr wchar_t kInstallKey[] = L"SOFTWARE\\Veltrano";
inline constexpr wchar_t kInstallFolderValue[] = L"InstallFolder";

// Computed once at start-up and handed to every store; tests point it at a temporary folder.
struct DataPaths {
    // Where the user's files lie; empty when it cannot be determined.
    std::wstring dataFolder;
    std::wstring userPrefix;
    // Where the program, its manual and its speech engine lie: the data folder unless installed.
    std::wstring programFolder = dataFolder;

    static DataPaths ForThisProcess();

    // dataFolder\user + stem + extension; empty without a data folder.
    std::wstring DataFile(std::wstring_view stem, std::wstring_view extension) const;
    // dataFolder\user + suffix; empty when either part is empty.
    std::wstring DataFolder(std::wstring_view suffix) const;
    // dataFolder\user_Veltrano.ini; empty when either part is empty.
    std::wstring SettingsFile() const;
};

}  // namespace veltrano
