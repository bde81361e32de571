#pragma once
// The markers that careful programs (password managers, say) put beside a copied text, and
// what they allow this program to do with it.
#include <windows.h>

#include <optional>

namespace veltrano {

struct ClipboardPrivacyMarkers {
    bool excludeFromMonitoring = false;         // "ExcludeClipboardContentFromMonitorProcessing"
    bool viewerIgnore = false;                  // "Clipboard Viewer Ignore"
    std::optional<DWORD> canIncludeInHistory{};  // "CanIncludeInClipboardHistory", when readable
};

enum class CopyPrivacy {
    Ordinary,       // every step runs
    NotForHistory,  // every step but the history
    Private,        // treated as an update without text: nothing is recorded, shown or searched
};

CopyPrivacy PrivacyOf(const ClipboardPrivacyMarkers& markers);

}  // namespace veltrano
