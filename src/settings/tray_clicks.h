#pragma once
// Turns the tray icon's mouse messages into the clicks the settings assign actions to.
#include <windows.h>

#include <optional>

#include "settings/settings.h"

namespace veltrano {

struct TrayClickDecision {
    bool stopSpeech = false;            // any button release silences the voice
    std::optional<TrayButton> button;  // the click whose action runs, if any
};

class TrayClickDecoder {
public:
    // `leftDown` and `rightDown`: the buttons held at this moment.
    TrayClickDecision OnMouseMessage(UINT mouseMessage, bool leftDown, bool rightDown);
    // Once an action has run (its menu closed): after a chord, the other button's release is swallowed.
    void AfterAction(TrayButton button);

private:
    bool chordReleased_ = false;
};

}  // namespace veltrano
