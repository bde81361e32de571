#pragma once
// The history's entries as kept in memory, and reading the history folder into them: the part of
// a load that runs off the user-interface thread. An entry keeps what the menu and the
// de-duplication need; its text stays sealed in its file until it is restored.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "base/sha256.h"

namespace veltrano {

// SHA-256 of the text's UTF-16 units: texts of equal length and digest are taken as equal, so
// nothing is unsealed to find a duplicate.
using HistoryDigest = Sha256Digest;

struct ClipboardHistoryEntry {
    std::wstring label;                   // the menu label of the text (tabs expanded)
    size_t length = 0;                    // of the text, in UTF-16 units
    std::optional<HistoryDigest> digest;  // known once its file is written
    std::wstring path;                    // the entry's sealed file
    std::uint64_t write = 0;              // the queued write of its file; 0 once it is written
};

// The text sealed in an entry's file; throws std::runtime_error when it cannot be read or decoded.
std::wstring ReadHistoryText(const std::wstring& path);

// A file that cannot be deleted stays behind and is tidied by a later load.
void RemoveHistoryFile(const std::wstring& path) noexcept;

// The digest an entry keeps of its text; throws std::runtime_error when the hash service fails.
HistoryDigest HistoryTextDigest(std::wstring_view text);

// The entry of a text whose file is written.
ClipboardHistoryEntry MakeHistoryEntry(const std::wstring& text, std::wstring path);

// Entries of equal texts; an entry whose file is not written yet equals nothing.
bool SameText(const ClipboardHistoryEntry& a, const ClipboardHistoryEntry& b);

struct HistoryLogLine {
    const wchar_t* title;
    std::wstring message;
};

struct HistoryFolderRead {
    std::vector<ClipboardHistoryEntry> entries;  // newest first, at most the maximum count
    std::vector<HistoryLogLine> logLines;        // for the files that could not be read
    bool folderMissing = false;                  // the folder does not exist and cannot be made
    std::optional<std::wstring> failure;         // why the folder could not be read
};

// Reads every ".bin" file of the folder, newest name first; deletes empty and duplicate files and
// those beyond `maxCount`. A file that cannot be read or unsealed stays, gives no entry and a log line. Stops between files when asked; the result is then
// incomplete and its caller drops it. Never throws.
HistoryFolderRead ReadHistoryFolder(const std::wstring& folder, size_t maxCount, std::stop_token stop);

}  // namespace veltrano
