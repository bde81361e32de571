#include "storage/data_paths.h"

#include <windows.h>

namespace veltrano {

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
    return DataPaths{ProgramFolder(), UserFilePrefix()};
}

std::wstring DataPaths::DataFile(std::wstring_view stem, std::wstring_view extension) const {
    if (programFolder.empty()) return {};
    return programFolder + L"\\" + userPrefix + std::wstring(stem) + std::wstring(extension);
}

std::wstring DataPaths::DataFolder(std::wstring_view suffix) const {
    if (programFolder.empty() || userPrefix.empty()) return {};
    return programFolder + L"\\" + userPrefix + std::wstring(suffix);
}

std::wstring DataPaths::SettingsFile() const {
    // Same rule as a data folder: no file without both parts.
    return DataFolder(L"_Veltrano.ini");
}

}  // namespace veltrano
