#pragma once
// The state of the main menu's items, derived from the settings at the moment it opens.
#include <windows.h>

#include "settings/settings.h"

namespace veltrano {

struct MainMenuState {
    bool keywordFileEncrypted = false;
    bool replaceFileEncrypted = false;
    // An organisation's policy holds the switch: its item is greyed.
    bool keywordEncryptionHeld = false;
    bool replaceEncryptionHeld = false;
    UINT textWindowRadioItem = 0;  // one of the four clipboard text window modes
    bool textWindowModeHeld = false;  // a policy holds one of the keys the four modes write
    bool moveTextWindowGrayed = false;
    bool showAutoReplaceItem = false;  // the item exists only while replacement is in use
    bool autoReplaceChecked = false;
};

MainMenuState BuildMainMenuState(const Settings& settings, bool autoReplaceEnabled);

// Sets the check marks, the radio mark, the grey items, and removes the automatic replacement
// item when replacement is off.
void ApplyMainMenuState(HMENU menu, const MainMenuState& state);

}  // namespace veltrano
