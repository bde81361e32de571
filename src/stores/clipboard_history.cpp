#include "stores/clipboard_history.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <unordered_set>

#include "base/error_text.h"
#include "base/menu_label.h"
#include "base/text_encoding.h"
#include "storage/file_system.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

constexpr unsigned kMaxSequence = 999;

void NotifyError(Notifier& notifier, const wchar_t* title, const wchar_t* body) {
    notifier.Notify(body, title, NotifyKind::Error);
}

void NotifyFolderFailure(Notifier& notifier) {
    NotifyError(notifier, L"エラー", L"クリップボード履歴の保存用フォルダの作成に失敗しました。");
}

// A file that cannot be deleted stays behind and is tidied by a later load.
void RemoveIfPossible(const std::wstring& path) {
    try {
        RemoveFile(path);
    } catch (const std::runtime_error&) {
    }
}

bool IsHistoryFileName(const std::wstring& name) {
    return std::filesystem::path(name).extension().native() == L".bin";
}

}  // namespace

std::wstring HistoryFileName(const SYSTEMTIME& time, unsigned sequence) {
    wchar_t name[48];
    const int length = std::swprintf(name, std::size(name), L"%04d%02d%02d_%02d%02d%02d_%03d", time.wYear, time.wMonth,
                                     time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    std::wstring result(name, length > 0 ? static_cast<size_t>(length) : 0);
    // "_" sorts after ".", and a fixed width keeps "_010" after "_009".
    if (sequence > 0) {
        std::swprintf(name, std::size(name), L"_%03u", sequence);
        result += name;
    }
    return result + L".bin";
}

MenuEntries BuildHistoryMenu(const std::vector<ClipboardHistoryEntry>& entries, bool enabled, bool reverse) {
    if (!enabled) return {{0, L"―― 履歴機能無効設定中 ――", true}};
    if (entries.empty()) return {{0, L"―― 履歴無し ――", true}};
    const size_t count = std::min(entries.size(), kMaxHistoryMenuEntries);
    MenuEntries menu;
    menu.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        // The accelerator follows the entry, not its place, so the newest keeps "1" either way.
        const size_t index = reverse ? count - 1 - i : i;
        menu.push_back({static_cast<UINT>(IDM_HISTORY_FIRST + index),
                        BuildMenuLabel(entries[index].text, true) + AcceleratorSuffix(index), false});
    }
    return menu;
}

std::optional<size_t> HistoryIndexOfCommand(UINT commandId, size_t entryCount) {
    if (commandId < IDM_HISTORY_FIRST) return std::nullopt;
    const size_t index = commandId - IDM_HISTORY_FIRST;
    if (index >= kMaxHistoryMenuEntries || index >= entryCount) return std::nullopt;
    return index;
}

void ClipboardHistory::Load() {
    try {
        LoadEntries();
    } catch (...) {
        ReportFailure(L"読み込み");
    }
}

void ClipboardHistory::Add(const std::wstring& text) {
    try {
        AddEntry(text);
    } catch (...) {
        ReportFailure(L"保存");
    }
}

bool ClipboardHistory::Restore(HWND owner, UINT commandId) {
    try {
        return RestoreEntry(owner, commandId);
    } catch (...) {
        ReportFailure(L"取得");
        return false;
    }
}

void ClipboardHistory::LoadEntries() {
    if (!settings_.UseClipboardHistory()) return;
    entries_.clear();
    const std::wstring folder = FolderPath();
    if (!EnsureFolder(folder)) {
        NotifyFolderFailure(notifier_);
        return;
    }
    std::vector<std::wstring> names = ListFileNames(folder);
    std::erase_if(names, [](const std::wstring& name) { return !IsHistoryFileName(name); });
    std::sort(names.begin(), names.end(), std::greater<>());

    std::unordered_set<std::wstring> taken;
    for (const std::wstring& name : names) {
        const std::wstring path = folder + L"\\" + name;
        std::string content;
        try {
            content = ReadEncryptedFile(path);
        } catch (const std::runtime_error&) {
            LogFileFailure(L"暗号ファイルの読み込みに失敗", path);
        }
        if (content.empty()) {
            RemoveIfPossible(path);
            continue;
        }
        std::wstring text;
        try {
            text = Utf8ToWide(content);
        } catch (const std::runtime_error&) {
            // Kept on disk: the bytes decrypted, so the file may still be worth something to the user.
            LogFileFailure(L"UTF-8 から UTF-16 への変換に失敗", path);
            continue;
        }
        if (!taken.insert(text).second) {
            RemoveIfPossible(path);
            continue;
        }
        entries_.push_back({std::move(text), path});
    }
    TrimToMaxCount();
}

void ClipboardHistory::AddEntry(const std::wstring& text) {
    if (menuOpen_ || !settings_.UseClipboardHistory() || text.empty()) return;
    const std::wstring folder = FolderPath();
    if (!EnsureFolder(folder)) {
        NotifyFolderFailure(notifier_);
        return;
    }
    const auto duplicate =
        std::find_if(entries_.begin(), entries_.end(), [&](const ClipboardHistoryEntry& entry) { return entry.text == text; });
    const std::wstring path = NewHistoryFilePath(folder);
    if (path.empty()) {
        NotifyError(notifier_, L"エラー", L"クリップボード履歴ファイルの保存先パスの取得に失敗しました。");
        return;
    }
    try {
        WriteEncryptedFile(path, WideToUtf8(text));
    } catch (const std::runtime_error&) {
        NotifyError(notifier_, L"エラー", L"クリップボード履歴ファイルの書き込みに失敗しました。");
        return;
    }
    if (duplicate != entries_.end()) {
        RemoveIfPossible(duplicate->path);
        entries_.erase(duplicate);
    }
    entries_.insert(entries_.begin(), {text, path});
    TrimToMaxCount();
}

bool ClipboardHistory::RestoreEntry(HWND owner, UINT commandId) {
    const std::optional<size_t> index = HistoryIndexOfCommand(commandId, entries_.size());
    if (!index) {
        NotifyError(notifier_, L"クリップボード履歴取得失敗", L"選択されたクリップボード履歴の取得に失敗しました。");
        return false;
    }
    // A copy: the clipboard update that follows records the text again and reorders the list.
    const std::wstring text = entries_[*index].text;
    if (clipboard_.Write(text, owner)) return true;
    NotifyError(notifier_, L"クリップボード更新失敗", L"クリップボードの更新に失敗しました。");
    log_.WriteLog(LogCategory::ClipboardHistory, L"クリップボード更新失敗", L"履歴テキスト: " + text);
    return false;
}

std::wstring ClipboardHistory::NewHistoryFilePath(const std::wstring& folder) const {
    if (folder.empty()) return {};
    const SYSTEMTIME now = clock_.Now();
    try {
        for (unsigned sequence = 0; sequence <= kMaxSequence; ++sequence) {
            std::wstring path = folder + L"\\" + HistoryFileName(now, sequence);
            if (!IsTaken(path)) return path;
        }
    } catch (const std::runtime_error&) {
        // The folder cannot be asked whether a name is free.
    }
    return {};
}

// Entries are checked too: a file deleted behind the program's back must not give its name to a
// second entry, whose file the first one's removal would take along.
bool ClipboardHistory::IsTaken(const std::wstring& path) const {
    return FileExists(path) ||
           std::any_of(entries_.begin(), entries_.end(), [&](const ClipboardHistoryEntry& entry) { return entry.path == path; });
}

void ClipboardHistory::TrimToMaxCount() {
    const size_t maxCount = static_cast<size_t>(settings_.ClipboardHistoryMaxCount());
    while (entries_.size() > maxCount) {
        RemoveIfPossible(entries_.back().path);
        entries_.pop_back();
    }
}

// Call inside a catch block: the error text is that of the exception being handled.
void ClipboardHistory::LogFileFailure(const wchar_t* title, const std::wstring& path) {
    log_.WriteLog(LogCategory::ClipboardHistory, title, L"file=" + path + L", error=" + CurrentErrorText());
}

// Call inside a catch block.
void ClipboardHistory::ReportFailure(const wchar_t* operation) noexcept {
    try {
        const std::wstring body =
            std::wstring(L"次の理由で、クリップボード履歴の") + operation + L"に失敗しました。\n\n理由：" + CurrentErrorText();
        log_.WriteLog(LogCategory::ClipboardHistory, L"エラー", body);
        notifier_.Notify(body, L"エラー", NotifyKind::Error);
    } catch (...) {
        // Reporting itself failed (no thread could be started); the next operation tries again.
    }
}

}  // namespace veltrano
