#pragma once
// The two clipboard operations the whole program shares.
#include <windows.h>

#include <optional>
#include <string>

#include "guard/clipboard_source.h"
#include "guard/copy_privacy.h"
#include "base/clipboard_reader.h"
#include "base/clipboard_writer.h"
#include "settings/settings.h"

namespace veltrano {

// What one update puts on the clipboard, read while it is open once, so that all of it belongs
// to one copy.
struct ClipboardContent {
    bool opened = false;               // false when the clipboard stayed busy for about 100 ms
    DWORD sequence = 0;                // the clipboard's sequence number
    ClipboardSource source;
    bool ignored = false;              // the owner is one of the ignored programs: no text read
    std::optional<std::wstring> text;  // up to its first NUL; none without text
    ClipboardPrivacyMarkers markers;
};

// The copy on the clipboard, named by `arrived` when that was taken for it. The text of a copy whose
// owner (never a guessed program) is listed in `ignoredPrograms` is not read.
ClipboardContent ReadClipboardContent(HWND owner, std::wstring_view ignoredPrograms = {},
                                      const std::optional<ArrivedClipboardSource>& arrived = std::nullopt);

// The clipboard's Unicode text (up to its first NUL), or none when there is no text or the
// clipboard stays busy for about 100 ms.
std::optional<std::wstring> ReadClipboardText(HWND owner);

// Puts the text on the clipboard; tries to open it up to 10 times, 50 ms apart. A text refused
// to histories carries "CanIncludeInClipboardHistory" 0.
bool WriteClipboardText(const std::wstring& text, HWND owner, HistoryUse use = HistoryUse::Allowed);

enum class ClipboardEmptying { Emptied, Changed, Busy };

// Empties the clipboard when its sequence number is still `sequence`, checked while it is open so
// that no newer copy can slip in between; never writes an empty text, which other histories record.
ClipboardEmptying EmptyClipboardHolding(DWORD sequence, HWND owner);

// The real clipboard behind the writer seam the features use.
class SystemClipboard final : public ClipboardWriter {
public:
    bool Write(const std::wstring& text, HWND owner, HistoryUse use) override {
        return WriteClipboardText(text, owner, use);
    }
};

// The clipboard as the program may show, record and change it: a private copy reads as no text,
// unless the user chose to treat every copy alike; a copy of a program the user listed as ignored
// reads as no text always (settings read at each use).
class ShowableClipboard final : public ClipboardReader {
public:
    explicit ShowableClipboard(const Settings& settings) : settings_(settings) {}

    struct Reading {
        bool opened;  // false: another program held the clipboard
        std::optional<ClipboardText> copy;
    };
    Reading ReadCopy(HWND owner, const std::optional<ArrivedClipboardSource>& arrived = std::nullopt);
    std::optional<ClipboardText> Read(HWND owner) override { return ReadCopy(owner).copy; }

private:
    CopyPrivacy Privacy(const ClipboardContent& content) const;
    const Settings& settings_;
};

}  // namespace veltrano
