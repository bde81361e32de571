#include "settingsdialog/startup_shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/com_apartment.h"
#include "base/com_ptr.h"
#include "base/unique_any.h"
#include "storage/data_paths.h"

namespace veltrano {
namespace {

constexpr int kShowCommand = SW_SHOW;

using UniqueCoTaskMemString = UniqueAny<NullInvalidTraits<PWSTR, ::CoTaskMemFree>>;

bool SaveShortcut(const std::wstring& shortcutPath, const std::wstring& executable, const std::wstring& arguments,
                  const std::wstring& workingFolder) {
    // Both interfaces live only in here, so they are released before the caller leaves the apartment.
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(file))) return false;

    link->SetPath(executable.c_str());
    if (!arguments.empty()) link->SetArguments(arguments.c_str());
    link->SetWorkingDirectory(workingFolder.c_str());
    link->SetShowCmd(kShowCommand);
    link->SetIconLocation(executable.c_str(), 0);
    link->SetDescription(L"Veltrano");
    return SUCCEEDED(file->Save(shortcutPath.c_str(), TRUE));
}

}  // namespace

std::wstring StartupShortcutPath() {
    UniqueCoTaskMemString folder;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, folder.Put());
    if (FAILED(result) || !folder) return {};
    return std::wstring(folder.Get()) + L"\\Veltrano.lnk";
}

bool ShortcutExistsAt(const std::wstring& shortcutPath) {
    return !shortcutPath.empty() && ::PathFileExistsW(shortcutPath.c_str());
}

bool CreateShortcutAt(const std::wstring& shortcutPath, const std::wstring& arguments) {
    const std::wstring program = ProgramPath();
    const std::wstring workingFolder = ProgramFolder();
    if (program.empty() || workingFolder.empty() || shortcutPath.empty()) return false;

    // A single-threaded apartment when the thread has none; the program's thread is already in
    // the multi-threaded one, which the shell link object accepts as well.
    const ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (!apartment.Usable()) return false;
    return SaveShortcut(shortcutPath, program, arguments, workingFolder);
}

void DeleteShortcutAt(const std::wstring& shortcutPath) {
    if (!shortcutPath.empty()) ::DeleteFileW(shortcutPath.c_str());
}

bool StartupShortcutExists() { return ShortcutExistsAt(StartupShortcutPath()); }

bool CreateStartupShortcut(const std::wstring& arguments) { return CreateShortcutAt(StartupShortcutPath(), arguments); }

void DeleteStartupShortcut() { DeleteShortcutAt(StartupShortcutPath()); }

}  // namespace veltrano
