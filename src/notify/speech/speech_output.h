#pragma once
// The seam to the one speech player of the process, as the notification workers use it.
// Until a player is attached, or when a speech cannot start, "voice only" shows a balloon.
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
    // Returns once playback has started (or the speech was cut off or stopped meanwhile). Throws
    // std::runtime_error or std::system_error, with a UTF-8 reason, when it cannot be heard: no
    // Japanese voice, the named voice's engine not ready, synthesis or playback failed.
    virtual Ticket Speak(const std::wstring& text, const std::wstring& voiceName) = 0;
    // Blocks until that speech has ended, was cut off by a newer one, was stopped or failed.
    virtual void WaitUntilFinished(Ticket speech) = 0;
    // Silences any speech at once and releases every waiting worker.
    virtual void Stop() = 0;
};

}  // namespace veltrano
