#pragma once
// Where every data file lives: the program folder, per Windows user, under a sanitized user prefix.
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

// Computed once at start-up and handed to every store; tests point it at a temporary folder.
struct DataPaths {
    std::wstring programFolder;
    std::wstring userPrefix;

    static DataPaths ForThisProcess();

    // folder\user + stem + extension; empty without a program folder.
    std::wstring DataFile(std::wstring_view stem, std::wstring_view extension) const;
    // folder\user + suffix; empty when either part is empty.
    std::wstring DataFolder(std::wstring_view suffix) const;
    // folder\user_Veltrano.ini; empty when either part is empty.
    std::wstring SettingsFile() const;
};

}  // namespace veltrano
