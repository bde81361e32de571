#pragma once
// The speech backends of Windows 10 and later: Windows.Media.SpeechSynthesis for the installed
// voices and Windows.Media.Playback for the sound. The calling thread must be in the
// multi-threaded apartment; calls block until the runtime is done.
#include <memory>

#include "notify/speech/speech_backends.h"

namespace veltrano {

// Throw std::system_error (with the HRESULT and the failing step) when a class cannot be activated.
std::unique_ptr<SpeechSynthesizerBackend> CreateWindowsSpeechSynthesizer();
std::unique_ptr<AudioOutput> CreateMediaPlayerOutput();

}  // namespace veltrano
