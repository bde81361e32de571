#pragma once
// Starting with Windows is the presence of a shortcut in the user's Startup folder, not a setting.
#include <string>

namespace veltrano {

// The switch ("/Logon") the Startup shortcut and the installer's start at logon give the program:
// when both start it, the second finds the guard running and ends without a word.
inline constexpr wchar_t kLogonSwitch[] = L"Logon";

// Startup folder + "\Veltrano.lnk"; empty when the folder cannot be obtained.
std::wstring StartupShortcutPath();

// The functions below on any shortcut path, so that tests need not touch the real Startup folder.
bool ShortcutExistsAt(const std::wstring& shortcutPath);
// Creates or overwrites a shortcut to this executable; true when it was saved.
bool CreateShortcutAt(const std::wstring& shortcutPath, const std::wstring& arguments);
// Failure is not reported: a shortcut that cannot be deleted just stays.
void DeleteShortcutAt(const std::wstring& shortcutPath);

bool StartupShortcutExists();
bool CreateStartupShortcut(const std::wstring& arguments);
void DeleteStartupShortcut();

}  // namespace veltrano
