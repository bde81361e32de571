#include "guard/clipboard_watchdog.h"

namespace veltrano {

void ClipboardWatchdog::Start() {
    handled_ = seams_.sequenceNumber();
    movedAtLastCheck_ = false;
}

bool ClipboardWatchdog::OnUpdate(DWORD sequence) {
    movedAtLastCheck_ = false;
    // The late update of a copy a recovery handled; 0 means the number is not known.
    if (sequence != 0 && sequence == recovered_) return false;
    recovered_ = 0;
    handled_ = sequence;
    return true;
}

void ClipboardWatchdog::OnReadFailed(DWORD sequence) {
    if (recovered_ == sequence) recovered_ = 0;
    if (handled_ == sequence) handled_.reset();
}

void ClipboardWatchdog::OnCheck() {
    const DWORD sequence = seams_.sequenceNumber();
    // 0: the session gives no numbers, so nothing can be told.
    if (sequence == 0 || sequence == handled_) {
        movedAtLastCheck_ = false;
        return;
    }
    // A copy's update may still be on its way at one check, never at two.
    if (!movedAtLastCheck_) {
        movedAtLastCheck_ = true;
        return;
    }
    seams_.registerAgain();
    HandleMissed(sequence);
}

void ClipboardWatchdog::OnSessionResumed() {
    seams_.registerAgain();
    const DWORD sequence = seams_.sequenceNumber();
    if (sequence != handled_) HandleMissed(sequence);
}

void ClipboardWatchdog::HandleMissed(DWORD sequence) {
    movedAtLastCheck_ = false;
    handled_ = sequence;
    recovered_ = sequence;
    if (!seams_.handleMissed(sequence)) OnReadFailed(sequence);
}

}  // namespace veltrano
