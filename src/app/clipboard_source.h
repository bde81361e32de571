#pragma once
// The program that put the current copy on the clipboard, named by its file name.
#include <string>
#include <string_view>

namespace veltrano {

// Given when no program can be named.
inline constexpr wchar_t kUnknownProgram[] = L"不明";

// The file name of the clipboard owner's program; without an owner window, the foreground window's.
std::wstring ClipboardSourceProgram();

// Whether `program` is one of the file names in `list` ("a.exe;b.exe"): whole names, compared
// without regard to case, blanks around each name ignored.
bool IsListedProgram(std::wstring_view list, std::wstring_view program);

}  // namespace veltrano
