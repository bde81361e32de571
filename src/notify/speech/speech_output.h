#pragma once
// The seam to the one speech player of the process, as the notification workers use it.
// Until a player is attached, notifications that would speak stay silent.
#include <cstdint>
#include <string>

namespace veltrano {

class SpeechOutput {
public:
    // Names one speech, so that its worker waits for that speech and no other.
    using Ticket = std::uint64_t;

    virtual ~SpeechOutput() = default;
    // 0.0 to 1.0; applies to the next speech.
    virtual void SetVolume(double volume) = 0;
    // Returns once playback has started or failed; failures are handled inside, never thrown.
    virtual Ticket Speak(const std::wstring& text, const std::wstring& voiceName) = 0;
    // Blocks until that speech has ended, was cut off by a newer one, was stopped or failed.
    virtual void WaitUntilFinished(Ticket speech) = 0;
    // Silences any speech at once and releases every waiting worker.
    virtual void Stop() = 0;
};

}  // namespace veltrano
