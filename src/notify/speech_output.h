#pragma once
// The seam to the one speech player of the process, as the notification workers use it.
// Until a player is attached, notifications that would speak stay silent.
#include <string>

namespace veltrano {

class SpeechOutput {
public:
    virtual ~SpeechOutput() = default;
    // 0.0 to 1.0; applies to the next speech.
    virtual void SetVolume(double volume) = 0;
    // Returns once playback has started or failed; failures are handled inside, never thrown.
    virtual void Speak(const std::wstring& text, const std::wstring& voiceName) = 0;
    // Blocks until the current speech has ended, was stopped or failed.
    virtual void WaitUntilFinished() = 0;
    // Silences any speech at once and releases every waiting worker.
    virtual void Stop() = 0;
};

}  // namespace veltrano
