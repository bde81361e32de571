#pragma once
// Notices a clipboard listener that Windows stopped serving (after sleep, a session switch, or
// for no reason given) and takes it up again, so that the guard never stops without a word.
// It looks only at the clipboard's sequence number, which costs nothing and opens nothing.
#include <windows.h>

#include <functional>
#include <optional>

namespace veltrano {

class ClipboardWatchdog {
public:
    static constexpr UINT_PTR kTimerId = 2;  // of the main window
    static constexpr UINT kCheckIntervalMs = 2000;

    struct Seams {
        std::function<DWORD()> sequenceNumber;              // the clipboard's, as GetClipboardSequenceNumber
        std::function<void()> registerAgain;                // removes and adds the listener
        // Runs the pipeline on the clipboard's copy; false when another program held the clipboard.
        std::function<bool(DWORD sequence)> handleMissed;
    };
    explicit ClipboardWatchdog(Seams seams) : seams_(std::move(seams)) {}

    // The listener was registered: the copy on the clipboard now needs no handling.
    void Start();
    // The listener announced the copy numbered `sequence`: false when a recovery handled it already.
    bool OnUpdate(DWORD sequence);
    // The copy numbered `sequence` could not be read (another program held the clipboard): it
    // counts as not handled, so the checks take it up.
    void OnReadFailed(DWORD sequence);
    // Every check interval: a copy that no update announced since the previous check is handled,
    // the listener registered again.
    void OnCheck();
    // After resume from sleep or an unlocked or reconnected session, when the listener may be gone.
    void OnSessionResumed();

private:
    void HandleMissed(DWORD sequence);

    Seams seams_;
    std::optional<DWORD> handled_;  // the sequence number of the last copy handled, if it was read
    DWORD recovered_ = 0;           // of the copy the last recovery handled, until another update comes
    bool movedAtLastCheck_ = false;
};

}  // namespace veltrano
