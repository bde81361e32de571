#include "app/shell_open.h"

#include <windows.h>
#include <shellapi.h>

namespace veltrano {

bool OpenWithShell(const std::wstring& path) {
    // Above 32 is success; the handle is only a number kept for compatibility.
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace veltrano
