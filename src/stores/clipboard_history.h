#pragma once
// The clipboard history: the newest clipboard texts, newest first, each sealed in a file of its
// own in the user's history folder so that it survives a restart. A pop-up menu offers them and
// puts the chosen one back on the clipboard. Used on the user-interface thread, which decides at
// once where a copy goes in the list; its file is sealed and written on the history writer's
// worker, and a duplicate or an entry beyond the maximum goes once the copy's write has finished.
// Reading the folder at a load runs on a worker of its own, and copies made meanwhile wait in a queue.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/clipboard_writer.h"
#include "base/local_clock.h"
#include "base/menu_entry.h"
#include "base/notifier.h"
#include "log/log_writer.h"
#include "settings/settings.h"
#include "storage/data_paths.h"
#include "stores/history_folder.h"
#include "stores/history_writer.h"

namespace veltrano {

// "YYYYMMDD_HHMMSS_mmm.bin" of `time`; a `sequence` from 1 adds "_001" to "_999" before the
// extension, so that names of one millisecond stay distinct and still sort in recording order.
std::wstring HistoryFileName(const SYSTEMTIME& time, unsigned sequence);

// The menu items of `entries` (newest first): one greyed item saying why when there is nothing
// to choose, else the newest `maxItems` (older ones stay stored), oldest on top when `reverse`,
// the accelerator always following the entry's index.
MenuEntries BuildHistoryMenu(const std::vector<ClipboardHistoryEntry>& entries, bool enabled, bool reverse,
                             size_t maxItems);

class ClipboardHistory {
public:
    ClipboardHistory(const Settings& settings, const DataPaths& paths, Notifier& notifier, LogWriter& log,
                     const LocalClock& clock, ClipboardWriter& clipboard)
        : settings_(settings), paths_(paths), notifier_(notifier), log_(log), clock_(clock), clipboard_(clipboard) {}
    ~ClipboardHistory() { StopLoading(); }
    ClipboardHistory(const ClipboardHistory&) = delete;
    ClipboardHistory& operator=(const ClipboardHistory&) = delete;

    // Called on the worker when a load has read the folder; it should make the user-interface
    // thread call CompleteLoad.
    void SetLoadedHandler(std::function<void()> handler) { loadedHandler_ = std::move(handler); }
    // Called on the writer's worker when an entry's file is written; it should make the
    // user-interface thread call CompleteWrites.
    void SetWrittenHandler(std::function<void()> handler) { writer_.SetFinishedHandler(std::move(handler)); }
    // What seals an entry's file (WriteEncryptedText); a test makes it slow.
    void SetSealer(HistoryWriter::Sealer sealer) { writer_.SetSealer(std::move(sealer)); }

    // What the worker does to read the folder (ReadHistoryFolder); a test holds it to see what
    // happens while a load is under way.
    using FolderReader = std::function<HistoryFolderRead(const std::wstring& folder, size_t maxCount, std::stop_token stop)>;
    void SetFolderReader(FolderReader reader) { readFolder_ = std::move(reader); }

    // Starts rebuilding the list from the folder (when history is on), deleting unreadable, empty
    // and duplicate files and those beyond the maximum count; a load under way starts again.
    // The folder is read once the files queued before are written.
    // Until it completes the list is empty and copies are queued. Never throws.
    void Load();
    // Takes a finished load into use: reports what it found, then records the queued copies.
    // Does nothing while the worker still reads. Never throws. Add calls it too, so a lost
    // completion message only delays the load's completion to the next copy.
    void CompleteLoad();
    // Waits for the worker, then CompleteLoad.
    void WaitForLoad();
    // For exit and the end of the session: ends a load at the next file, records the queued
    // copies, each in a new file (a later load removes what they duplicate), and waits until every
    // copy is on disk. Never throws.
    void Close() noexcept;
    bool Loading() const noexcept { return loading_; }

    // Records a new clipboard text as the newest entry, moving an equal one to the front.
    // Does nothing while the menu is open, with history off or for an empty text; while the
    // history loads, the text waits in the queue (menu open or not). Never throws.
    // The text is taken along to the writer, whose worker lets it go before sealing.
    void Add(std::wstring text);

    // Takes the finished writes into the list: a failed entry goes and is reported; a written
    // one gets its digest, and the older entry of the same text and those beyond the maximum
    // count go. Waits while the menu is open. Add calls it too. Never throws.
    void CompleteWrites();
    // Waits for every queued write, then CompleteWrites.
    void FinishWrites();

    // BuildHistoryMenu over the list with the current settings; while loading, one greyed item.
    MenuEntries BuildMenu(size_t maxItems) const;

    // While the menu is open Add records nothing and finished writes wait, so its items keep
    // pointing at their entries (until the chosen one is handled: the caller's turn).
    void SetMenuOpen(bool open) noexcept { menuOpen_ = open; }
    bool MenuOpen() const noexcept { return menuOpen_; }

    // Holds the menu open for its lifetime, around building and tracking the menu.
    class MenuOpenGuard {
    public:
        explicit MenuOpenGuard(ClipboardHistory& history) noexcept : history_(history), wasOpen_(history.MenuOpen()) {
            history_.SetMenuOpen(true);
        }
        ~MenuOpenGuard() { history_.SetMenuOpen(wasOpen_); }
        MenuOpenGuard(const MenuOpenGuard&) = delete;
        MenuOpenGuard& operator=(const MenuOpenGuard&) = delete;

    private:
        ClipboardHistory& history_;
        bool wasOpen_;
    };

    // Puts the text of entry `index` on the clipboard; true when it is there. An entry whose
    // file is still being written gives the text being written.
    // Failures are notified (and a failed write logged); never throws.
    bool Restore(HWND owner, size_t index);

    const std::vector<ClipboardHistoryEntry>& Entries() const noexcept { return entries_; }
    // Empty when the program folder or the user prefix is unknown.
    std::wstring FolderPath() const { return paths_.DataFolder(L"_history"); }

private:
    // Ends a load at the next file and records the queued copies.
    void StopLoading() noexcept;
    void JoinLoader() noexcept;
    void TakeLoad(HistoryFolderRead read);
    void Queue(std::wstring text);
    void RecordQueued();
    void AddEntry(std::wstring text);
    bool RestoreEntry(HWND owner, size_t index);
    std::wstring NewHistoryFilePath(const std::wstring& folder) const;
    bool IsTaken(const std::wstring& path) const;
    void Settle(const FinishedHistoryWrite& finished);
    void TrimToMaxCount(size_t first);

    const Settings& settings_;
    const DataPaths& paths_;
    Notifier& notifier_;
    LogWriter& log_;
    const LocalClock& clock_;
    ClipboardWriter& clipboard_;
    std::vector<ClipboardHistoryEntry> entries_;  // index 0 is the newest
    bool menuOpen_ = false;

    std::function<void()> loadedHandler_;
    FolderReader readFolder_ = ReadHistoryFolder;
    bool loading_ = false;
    std::vector<std::wstring> queued_;  // copied while loading, oldest first
    HistoryFolderRead loaded_;          // written by the worker before `loadFinished_`
    std::atomic<bool> loadFinished_ = false;
    std::jthread loader_;  // stopped and joined before the state it writes goes
    // Last: the destructor's last copies are queued to it, and it writes them before it goes.
    HistoryWriter writer_;
};

}  // namespace veltrano
