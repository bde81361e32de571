#pragma once
// What the settings pages read and change besides the settings file.
#include <windows.h>

#include <string>
#include <vector>

#include "base/notifier.h"
#include "settings/settings.h"
#include "storage/list_file_encryption.h"

namespace veltrano {

class ClipboardHistory;
class ClipboardTextWindow;
class ReplacementDefinitions;

struct SettingsContext {
    HINSTANCE instance = nullptr;
    HWND owner = nullptr;  // the main window
    Settings& settings;
    Notifier& notifier;
    ListFileEncryption& keywordEncryption;
    ListFileEncryption& replaceEncryption;
    ReplacementDefinitions& replacements;
    ClipboardHistory& history;
    ClipboardTextWindow& textWindow;
    std::vector<std::wstring> voiceNames;  // the speech player's voices; empty without speech
};

}  // namespace veltrano
