#pragma once
// The speech player of the process, made at start-up before any window.
#include <memory>
#include <string>

#include "notify/speech/speech_player.h"

namespace veltrano {

struct SpeechStart {
    std::shared_ptr<SpeechPlayer> player;  // null: the program runs without speech
    std::wstring failure;                  // why there is no player
};

// On the user-interface thread, once it is in the multi-threaded apartment.
SpeechStart StartSpeech(const std::wstring& programFolder);

}  // namespace veltrano
