#pragma once
// The state of the main menu's items, derived from the settings and the list files at the moment
// it opens.
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
    bool exitAllowed = true;  // else greyed, with the reason in its text
};

// What the menu shows beyond the settings.
struct MainMenuFacts {
    bool autoReplaceEnabled = false;
    // The list files are sealed on disk: the encryption ticks show this, not the setting alone.
    bool keywordFilesSealed = false;
    bool replaceFilesSealed = false;
};

MainMenuState BuildMainMenuState(const Settings& settings, const MainMenuFacts& facts);

// Sets the check marks, the radio mark, the grey items, and removes the automatic replacement
// item when replacement is off.
void ApplyMainMenuState(HMENU menu, const MainMenuState& state);

}  // namespace veltrano
