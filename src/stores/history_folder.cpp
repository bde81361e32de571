#include "stores/history_folder.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

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

    std::unordered_multimap<size_t, size_t> byDigest;  // digest → index of the entry
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
        const size_t digest = HistoryTextDigest(text);
        const auto [first, last] = byDigest.equal_range(digest);
        if (std::any_of(first, last,
                        [&](const auto& found) { return HoldsText(read.entries[found.second], text, digest); })) {
            RemoveHistoryFile(path);
            continue;
        }
        byDigest.emplace(digest, read.entries.size());
        read.entries.push_back(MakeHistoryEntry(text, digest, path));
    }
    while (read.entries.size() > maxCount) {
        RemoveHistoryFile(read.entries.back().path);
        read.entries.pop_back();
    }
}

}  // namespace

size_t HistoryTextDigest(const std::wstring& text) { return std::hash<std::wstring_view>{}(text); }

ClipboardHistoryEntry MakeHistoryEntry(const std::wstring& text, size_t digest, std::wstring path) {
    return {BuildMenuLabel(text, true), text.size(), digest, std::move(path)};
}

std::wstring ReadHistoryText(const std::wstring& path) { return Utf8ToWide(ReadEncryptedFile(path)); }

void RemoveHistoryFile(const std::wstring& path) noexcept {
    try {
        RemoveFile(path);
    } catch (...) {
    }
}

bool HoldsText(const ClipboardHistoryEntry& entry, const std::wstring& text, size_t digest) {
    if (entry.length != text.size() || entry.digest != digest) return false;
    try {
        return ReadHistoryText(entry.path) == text;
    } catch (const std::runtime_error&) {
        return false;
    }
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
