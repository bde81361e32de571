#pragma once
// The program that put the current copy on the clipboard, named by its file name.
#include <string>
#include <string_view>

#include "base/clipboard_reader.h"

namespace veltrano {

// Given when no program can be named.
inline constexpr wchar_t kUnknownProgram[] = L"不明";

// The clipboard owner's program; without an owner window, a guess: the foreground window's.
// Asked while the clipboard is open, so that the name belongs to the copy read then.
ClipboardSource ClipboardSourceProgram();

// Whether `program` is one of the file names in `list` ("a.exe;b.exe"): whole names, compared
// without regard to case, blanks around each name ignored.
bool IsListedProgram(std::wstring_view list, std::wstring_view program);

}  // namespace veltrano
