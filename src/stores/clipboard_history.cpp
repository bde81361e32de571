#include "stores/clipboard_history.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "base/error_text.h"
#include "base/menu_label.h"
#include "base/text_encoding.h"
#include "log/failure_report.h"
#include "storage/file_system.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

constexpr unsigned kMaxSequence = 999;

constexpr FailureReport kLoadFailed{LogCategory::ClipboardHistory, L"エラー",
                                    L"次の理由で、クリップボード履歴の読み込みに失敗しました。\n\n理由："};
constexpr FailureReport kSaveFailed{LogCategory::ClipboardHistory, L"エラー",
                                    L"次の理由で、クリップボード履歴の保存に失敗しました。\n\n理由："};
constexpr FailureReport kRestoreFailed{LogCategory::ClipboardHistory, L"エラー",
                                       L"次の理由で、クリップボード履歴の取得に失敗しました。\n\n理由："};

void NotifyError(Notifier& notifier, const wchar_t* title, const wchar_t* body) {
    notifier.Notify(body, title, NotifyKind::Error);
}

void NotifyFolderFailure(Notifier& notifier) {
    NotifyError(notifier, L"エラー", L"クリップボード履歴の保存用フォルダの作成に失敗しました。");
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

MenuEntries BuildHistoryMenu(const std::vector<ClipboardHistoryEntry>& entries, bool enabled, bool reverse,
                             size_t maxItems) {
    if (!enabled) return {{L"―― 履歴機能無効設定中 ――", std::nullopt}};
    if (entries.empty()) return {{L"―― 履歴無し ――", std::nullopt}};
    const size_t count = std::min(entries.size(), maxItems);
    MenuEntries menu;
    menu.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        // The accelerator follows the entry, not its place, so the newest keeps "1" either way.
        const size_t index = reverse ? count - 1 - i : i;
        menu.push_back({entries[index].label + AcceleratorSuffix(index), index});
    }
    return menu;
}

void ClipboardHistory::Load() {
    try {
        if (!settings_.UseClipboardHistory()) return;
        FinishWrites();
        JoinLoader();
        entries_.clear();
        loading_ = true;
        loadFinished_ = false;
        loader_ = std::jthread([this, folder = FolderPath(),
                                maxCount = static_cast<size_t>(settings_.ClipboardHistoryMaxCount())](std::stop_token stop) {
            loaded_ = readFolder_(folder, maxCount, stop);
            loadFinished_ = true;
            if (loadedHandler_) loadedHandler_();
        });
    } catch (...) {
        loading_ = false;
        ReportFailure(log_, notifier_, kLoadFailed, CurrentErrorText());
        RecordQueued();
    }
}

void ClipboardHistory::CompleteLoad() {
    if (!loading_ || !loadFinished_) return;
    JoinLoader();
    loading_ = false;
    // The copies queued meanwhile are recorded whatever the report of the load does.
    try {
        TakeLoad(std::move(loaded_));
    } catch (...) {
        ReportFailure(log_, notifier_, kLoadFailed, CurrentErrorText());
    }
    loaded_ = {};
    RecordQueued();
}

void ClipboardHistory::WaitForLoad() {
    if (loader_.joinable()) loader_.join();
    CompleteLoad();
}

void ClipboardHistory::StopLoading() noexcept {
    JoinLoader();
    loading_ = false;
    loaded_ = {};
    RecordQueued();
}

void ClipboardHistory::Close() noexcept {
    StopLoading();
    try {
        FinishWrites();
    } catch (...) {
        // Nothing is left to tell at the end: the writes that could finish have.
    }
}

void ClipboardHistory::JoinLoader() noexcept {
    if (!loader_.joinable()) return;
    loader_.request_stop();
    loader_.join();
}

void ClipboardHistory::TakeLoad(HistoryFolderRead read) {
    entries_ = std::move(read.entries);  // first: a report that fails must not lose them
    for (const HistoryLogLine& line : read.logLines) log_.WriteLog(LogCategory::ClipboardHistory, line.title, line.message);
    if (read.folderMissing) NotifyFolderFailure(notifier_);
    if (read.failure) ReportFailure(log_, notifier_, kLoadFailed, *read.failure);
}

// Each was accepted when it was copied: a menu open now (it shows only the greyed item while
// the history loads) or the switch turned off since does not drop it.
void ClipboardHistory::RecordQueued() {
    std::vector<std::wstring> queued = std::move(queued_);
    queued_.clear();
    for (std::wstring& text : queued) {
        try {
            AddEntry(std::move(text));
        } catch (...) {
            ReportFailure(log_, notifier_, kSaveFailed, CurrentErrorText());
        }
    }
}

void ClipboardHistory::Add(std::wstring text) {
    try {
        if (!settings_.UseClipboardHistory() || text.empty()) return;
        // In case a worker's message was lost.
        CompleteLoad();
        CompleteWrites();
        if (loading_) {
            Queue(std::move(text));
            return;
        }
        if (menuOpen_) return;
        AddEntry(std::move(text));
    } catch (...) {
        ReportFailure(log_, notifier_, kSaveFailed, CurrentErrorText());
    }
}

// An equal text keeps one place, the newest; beyond the maximum count the oldest goes, as it
// would from the history.
void ClipboardHistory::Queue(std::wstring text) {
    std::erase(queued_, text);
    queued_.push_back(std::move(text));
    const size_t maxCount = static_cast<size_t>(settings_.ClipboardHistoryMaxCount());
    if (queued_.size() > maxCount) queued_.erase(queued_.begin(), queued_.end() - static_cast<std::ptrdiff_t>(maxCount));
}

MenuEntries ClipboardHistory::BuildMenu(size_t maxItems) const {
    const bool enabled = settings_.UseClipboardHistory();
    if (enabled && loading_) return {{L"―― 履歴読み込み中 ――", std::nullopt}};
    return BuildHistoryMenu(entries_, enabled, settings_.ClipboardHistoryReverseOrder(), maxItems);
}

bool ClipboardHistory::Restore(HWND owner, size_t index) {
    try {
        return RestoreEntry(owner, index);
    } catch (...) {
        ReportFailure(log_, notifier_, kRestoreFailed, CurrentErrorText());
        return false;
    }
}

void ClipboardHistory::AddEntry(std::wstring text) {
    // Compared and labelled as its file will give it back.
    if (HasLoneSurrogate(text)) text = ReplaceLoneSurrogates(text);
    const std::wstring folder = FolderPath();
    if (!EnsureFolder(folder)) {
        NotifyFolderFailure(notifier_);
        return;
    }
    const std::wstring path = NewHistoryFilePath(folder);
    if (path.empty()) {
        NotifyError(notifier_, L"エラー", L"クリップボード履歴ファイルの保存先パスの取得に失敗しました。");
        return;
    }
    ClipboardHistoryEntry entry{.label = BuildMenuLabel(text, true), .length = text.size(), .digest = std::nullopt, .path = path};
    entry.write = writer_.QueueWrite(path, std::move(text));
    entries_.insert(entries_.begin(), std::move(entry));
}

void ClipboardHistory::CompleteWrites() {
    if (menuOpen_) return;
    std::vector<FinishedHistoryWrite> finished;
    try {
        finished = writer_.TakeFinished();
    } catch (...) {
        ReportFailure(log_, notifier_, kSaveFailed, CurrentErrorText());
    }
    for (const FinishedHistoryWrite& write : finished) {
        try {
            Settle(write);
        } catch (...) {
            ReportFailure(log_, notifier_, kSaveFailed, CurrentErrorText());
        }
    }
}

void ClipboardHistory::FinishWrites() {
    writer_.WaitUntilIdle();
    CompleteWrites();
}

// Writes finish in the order the copies were made, so the entries from the written one on are
// the list as it stood after that copy: there an equal older text and the excess go, as they
// would have had the write taken no time. Newer entries, still being written, come later.
void ClipboardHistory::Settle(const FinishedHistoryWrite& finished) {
    const auto written = std::find_if(entries_.begin(), entries_.end(),
                                      [&](const ClipboardHistoryEntry& entry) { return entry.write == finished.id; });
    const bool failed = finished.sealFailed || finished.unexpected;
    if (written != entries_.end()) {
        if (failed) {
            entries_.erase(written);
        } else {
            written->write = 0;
            written->digest = finished.digest;
            const auto duplicate = std::find_if(written + 1, entries_.end(), [&](const ClipboardHistoryEntry& entry) {
                return SameText(entry, *written);
            });
            const size_t first = static_cast<size_t>(written - entries_.begin());
            if (duplicate != entries_.end()) {
                writer_.QueueRemove(duplicate->path);
                entries_.erase(duplicate);
            }
            TrimToMaxCount(first);
        }
    }
    if (finished.sealFailed) NotifyError(notifier_, L"エラー", L"クリップボード履歴ファイルの書き込みに失敗しました。");
    if (finished.unexpected) ReportFailure(log_, notifier_, kSaveFailed, *finished.unexpected);
}

bool ClipboardHistory::RestoreEntry(HWND owner, size_t index) {
    if (index >= entries_.size()) {
        NotifyError(notifier_, L"クリップボード履歴取得失敗", L"選択されたクリップボード履歴の取得に失敗しました。");
        return false;
    }
    // Read now: the clipboard update that follows records the text again and reorders the list.
    // Its file is read once the writes queued before are done.
    const std::wstring path = entries_[index].path;
    writer_.WaitUntilIdle();
    const std::wstring text = ReadHistoryText(path);
    if (clipboard_.Write(text, owner, HistoryUse::Allowed)) return true;
    NotifyError(notifier_, L"クリップボード更新失敗", L"クリップボードの更新に失敗しました。");
    log_.WriteLog(LogCategory::ClipboardHistory, L"クリップボード更新失敗", L"履歴テキスト: " + log_.Quote(text));
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

// Beyond the maximum count from `first` on, the oldest go.
void ClipboardHistory::TrimToMaxCount(size_t first) {
    const size_t maxCount = static_cast<size_t>(settings_.ClipboardHistoryMaxCount());
    while (entries_.size() - first > maxCount) {
        writer_.QueueRemove(entries_.back().path);
        entries_.pop_back();
    }
}

}  // namespace veltrano
