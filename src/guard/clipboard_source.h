#pragma once
// The program that put the current copy on the clipboard, named by its file name.
#include <optional>
#include <string>
#include <string_view>

#include "base/clipboard_reader.h"

namespace veltrano {

// Given when no program can be named.
inline constexpr wchar_t kUnknownProgram[] = L"不明";

// The copying program as named when an update arrived, with the clipboard's sequence number then.
struct ArrivedClipboardSource {
    DWORD sequence = 0;
    ClipboardSource source;
};

// Taken as soon as an update arrives, while a program that copies and ends at once still lives.
// The number is read first: the name belongs to that copy or to a later one, which has another.
ArrivedClipboardSource TakeArrivedClipboardSource();

// The program of the copy numbered `sequence`, asked while the clipboard is open: the one named
// when its update arrived, if taken at that number; else the clipboard owner's program; without an
// owner window, a guess: the foreground window's, never this program's own (its own copies have
// its window as owner).
ClipboardSource ClipboardSourceProgram(DWORD sequence, const std::optional<ArrivedClipboardSource>& arrived);

// Whether `program` is one of the file names in `list` ("a.exe;b.exe"): whole names, compared
// without regard to case, blanks around each name ignored.
bool IsListedProgram(std::wstring_view list, std::wstring_view program);

}  // namespace veltrano
