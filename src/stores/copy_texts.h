#pragma once
// Registered copy texts: snippets the user edits as .txt files in the "_copy" folder, kept sealed
// as .bin files, loaded into a list and put on the clipboard from a tray menu.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/clipboard_writer.h"
#include "base/menu_entry.h"
#include "base/notifier.h"
#include "log/log_writer.h"
#include "storage/data_paths.h"

namespace veltrano {

struct CopyTextEntry {
    std::wstring text;
    std::wstring filePath;  // the .bin it came from
    std::wstring key;       // that file's stem

    friend bool operator==(const CopyTextEntry&, const CopyTextEntry&) = default;
};

// 1 to 9 give 0 to 8, 0 gives 9, a letter of either case 10 to 35, anything else 1000.
int CopyTextKeyRank(std::wstring_view key);

// The pop-up menu's items: a greyed "nothing registered" item for an empty list, else one item
// per entry (the first `maxItems`), one-character keys as lower-case accelerators.
MenuEntries BuildCopyTextMenu(const std::vector<CopyTextEntry>& entries, size_t maxItems);

class CopyTexts {
public:
    CopyTexts(const DataPaths& paths, Notifier& notifier, LogWriter& log, ClipboardWriter& clipboard)
        : paths_(paths), notifier_(notifier), log_(log), clipboard_(clipboard) {}

    // programFolder\user_copy; empty when either part is missing.
    std::wstring FolderPath() const;

    // True when the folder exists as a folder afterwards. A file-system error gives false with
    // its text in `errorText`; a non-folder in the way or a failed creation leaves it empty.
    bool EnsureFolder(std::wstring& errorText) const;

    // The folder (when missing) and an empty UTF-8 file for each of 1-9, 0, a-z that is absent.
    // False only when there is no folder to put them in.
    bool CreatePlaceholders() const;

    // Seals every non-empty .txt into its .bin (keeping the old .bin until the new one is
    // complete), then reloads the list from the .bin files. Every step is logged; one bad file
    // never stops the others. True when every step succeeded. Never throws.
    bool EncryptAndReload();

    // The menu command: EncryptAndReload, then the outcome to the user.
    void EncryptAndReloadCommand();

    // Turns every .bin back into its .txt for editing and reports the outcome. The list is
    // left as it was.
    void Decrypt();

    MenuEntries BuildMenu(size_t maxItems) const { return BuildCopyTextMenu(entries_, maxItems); }

    // Puts the text of entry `index` on the clipboard; an index without entry does nothing.
    void Choose(HWND owner, size_t index);

    const std::vector<CopyTextEntry>& Entries() const { return entries_; }

private:
    bool EncryptAndReloadFiles();
    bool SealTextFile(const std::wstring& folder, const std::wstring& name);
    bool LoadSealedFile(const std::wstring& folder, const std::wstring& name);
    void DecryptFiles();
    bool DecryptFile(const std::wstring& folder, const std::wstring& name);
    void Log(std::wstring_view title, std::wstring_view message) const;
    void NotifyUser(const std::wstring& body, const std::wstring& title, NotifyKind kind);

    const DataPaths& paths_;
    Notifier& notifier_;
    LogWriter& log_;
    ClipboardWriter& clipboard_;
    std::vector<CopyTextEntry> entries_;
};

}  // namespace veltrano
