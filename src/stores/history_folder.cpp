#include "stores/history_folder.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <span>
#include <stdexcept>

#include "base/error_text.h"
#include "base/menu_label.h"
#include "base/text_encoding.h"
#include "storage/file_system.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

bool IsHistoryFileName(const std::wstring& name) {
    return std::filesystem::path(name).extension().native() == L".bin";
}

bool IsEmptyFile(const std::wstring& path) {
    std::error_code error;
    return std::filesystem::file_size(path, error) == 0 && !error;
}

// Call inside a catch block: the error text is that of the exception being handled.
HistoryLogLine FileFailure(const wchar_t* title, const std::wstring& path) {
    return {title, L"file=" + path + L", error=" + CurrentErrorText()};
}

void ReadFiles(const std::wstring& folder, size_t maxCount, std::stop_token stop, HistoryFolderRead& read) {
    std::vector<std::wstring> names = ListFileNames(folder);
    std::erase_if(names, [](const std::wstring& name) { return !IsHistoryFileName(name); });
    std::sort(names.begin(), names.end(), std::greater<>());

    std::set<std::pair<size_t, HistoryDigest>> taken;  // length and digest of each entry
    for (const std::wstring& name : names) {
        if (stop.stop_requested()) return;
        const std::wstring path = folder + L"\\" + name;
        // Only a file that holds nothing is deleted: one that cannot be read or unsealed now (held
        // open by a scanner, sealed under another account, an I/O error) may read again later.
        std::string content;
        try {
            content = ReadEncryptedFile(path);
        } catch (const std::runtime_error&) {
            if (IsEmptyFile(path)) {
                RemoveHistoryFile(path);
            } else {
                read.logLines.push_back(FileFailure(L"暗号ファイルの読み込みに失敗", path));
            }
            continue;
        }
        if (content.empty()) {
            RemoveHistoryFile(path);
            continue;
        }
        std::wstring text;
        try {
            text = Utf8ToWide(content);
        } catch (const std::runtime_error&) {
            // Kept on disk: the bytes decrypted, so the file may still be worth something to the user.
            read.logLines.push_back(FileFailure(L"UTF-8 から UTF-16 への変換に失敗", path));
            continue;
        }
        ClipboardHistoryEntry entry = MakeHistoryEntry(text, path);
        if (!taken.emplace(entry.length, *entry.digest).second) {
            RemoveHistoryFile(path);
            continue;
        }
        read.entries.push_back(std::move(entry));
    }
    while (read.entries.size() > maxCount) {
        RemoveHistoryFile(read.entries.back().path);
        read.entries.pop_back();
    }
}

}  // namespace

HistoryDigest HistoryTextDigest(std::wstring_view text) { return Sha256(std::as_bytes(std::span(text))); }

ClipboardHistoryEntry MakeHistoryEntry(const std::wstring& text, std::wstring path) {
    return {BuildMenuLabel(text, true), text.size(), HistoryTextDigest(text), std::move(path)};
}

std::wstring ReadHistoryText(const std::wstring& path) { return Utf8ToWide(ReadEncryptedFile(path)); }

void RemoveHistoryFile(const std::wstring& path) noexcept {
    try {
        RemoveFile(path);
    } catch (...) {
    }
}

bool SameText(const ClipboardHistoryEntry& a, const ClipboardHistoryEntry& b) {
    return a.length == b.length && a.digest && b.digest && *a.digest == *b.digest;
}

HistoryFolderRead ReadHistoryFolder(const std::wstring& folder, size_t maxCount, std::stop_token stop) {
    HistoryFolderRead read;
    try {
        if (!EnsureFolder(folder)) {
            read.folderMissing = true;
            return read;
        }
        ReadFiles(folder, maxCount, stop, read);
    } catch (...) {
        read.entries.clear();
        read.failure = CurrentErrorText();
    }
    return read;
}

}  // namespace veltrano
