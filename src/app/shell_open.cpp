#include "app/shell_open.h"

#include <windows.h>
#include <shellapi.h>

namespace veltrano {

void OpenWithShell(const std::wstring& path) {
    ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace veltrano
