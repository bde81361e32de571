#pragma once
#include <windows.h>

#include <string>

namespace veltrano {

// The message of the exception being handled, as text; "原因不明のエラー" when it carries none.
// Call only inside a catch block.
std::wstring CurrentErrorText();

// The system's text of a Win32 error code (FormatMessageW, not std::error_code::message(), which
// comes in the ANSI code page), without its line end; "error N" when there is none.
std::wstring SystemErrorText(DWORD error);

}  // namespace veltrano
