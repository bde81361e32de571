#include "storage/data_paths.h"

#include <windows.h>
#include <shlobj.h>

namespace veltrano {
namespace {

// True when `programFolder` is the folder the installer recorded (a copy unpacked elsewhere is not).
bool IsInstalledCopy(const std::wstring& programFolder) {
    wchar_t recorded[MAX_PATH];
    DWORD size = sizeof recorded;
    if (programFolder.empty() || ::RegGetValueW(HKEY_LOCAL_MACHINE, kInstallKey, kInstallFolderValue, RRF_RT_REG_SZ,
                                                nullptr, recorded, &size) != ERROR_SUCCESS) {
        return false;
    }
    std::wstring_view folder = recorded;
    while (folder.ends_with(L'\\')) folder.remove_suffix(1);  // the installer writes it with one
    return ::CompareStringOrdinal(folder.data(), static_cast<int>(folder.size()), programFolder.c_str(),
                                  static_cast<int>(programFolder.size()), TRUE) == CSTR_EQUAL;
}

// %LOCALAPPDATA%\Veltrano, created when missing; empty when the profile has no such folder.
std::wstring ProfileDataFolder() {
    wchar_t* profile = nullptr;
    const HRESULT found = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &profile);
    const std::wstring folder = SUCCEEDED(found) ? std::wstring(profile) + L"\\Veltrano" : std::wstring();
    ::CoTaskMemFree(profile);
    if (folder.empty()) return {};
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    return folder;
}

}  // namespace

std::wstring ProgramPath() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};  // MAX_PATH means the path was cut
    return std::wstring(buffer, length);
}

std::wstring ProgramFolder() {
    const std::wstring path = ProgramPath();
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {};
    return path.substr(0, separator);
}

std::wstring UserName() {
    wchar_t buffer[257];
    DWORD size = static_cast<DWORD>(std::size(buffer));
    return ::GetUserNameW(buffer, &size) ? std::wstring(buffer) : std::wstring();
}

std::wstring UserFilePrefix() {
    std::wstring name = UserName();
    if (name.empty()) return {};
    SanitizeFileName(name);
    return name;
}

void SanitizeFileName(std::wstring& name) {
    for (wchar_t& c : name) {
        if (c < L' ' || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) c = L'_';
    }
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    if (name.empty()) name = L"file";
}

DataPaths DataPaths::ForThisProcess() {
    const std::wstring program = ProgramFolder();
    // Installed under Program Files, which users cannot write: each user's files go to their profile.
    return DataPaths{IsInstalledCopy(program) ? ProfileDataFolder() : program, UserFilePrefix(), program};
}

std::wstring DataPaths::DataFile(std::wstring_view stem, std::wstring_view extension) const {
    if (dataFolder.empty()) return {};
    return dataFolder + L"\\" + userPrefix + std::wstring(stem) + std::wstring(extension);
}

std::wstring DataPaths::DataFolder(std::wstring_view suffix) const {
    if (dataFolder.empty() || userPrefix.empty()) return {};
    return dataFolder + L"\\" + userPrefix + std::wstring(suffix);
}

std::wstring DataPaths::SettingsFile() const {
    // Same rule as a data folder: no file without both parts.
    return DataFolder(L"_Veltrano.ini");
}

}  // namespace veltrano
