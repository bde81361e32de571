#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace veltrano {

// The message of the exception being handled, as text; none when it carries none (not a
// std::exception, an empty message or one that is not UTF-8). Call only inside a catch block.
std::optional<std::wstring> CurrentErrorMessage();
// CurrentErrorMessage, or "原因不明のエラー" when there is none. Call only inside a catch block.
std::wstring CurrentErrorText();

// The system's text of a Win32 error code (FormatMessageW, not std::error_code::message(), which
// comes in the ANSI code page), without its line end; "error N" when there is none.
std::wstring SystemErrorText(DWORD error);

}  // namespace veltrano
