#pragma once
// The platform parts behind the speech player: a speech synthesizer that knows the installed
// voices, and an audio output that plays one clip at a time. The player's rules stay apart
// from them, so they can be tested with an output that only records.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrano {

// Audio ready to play. Only the audio output knows what is inside; a synthesizer's clips are
// made for the output of the same platform.
class AudioClip {
public:
    virtual ~AudioClip() = default;
};

struct InstalledVoice {
    std::wstring displayName;
    std::wstring language;  // a BCP-47 tag such as "ja-JP"
};

// Every call may throw (std::runtime_error or std::system_error) when the platform fails.
class SpeechSynthesizerBackend {
public:
    virtual ~SpeechSynthesizerBackend() = default;
    // Every installed voice, in the platform's order.
    virtual std::vector<InstalledVoice> AllVoices() = 0;
    // Synthesizes plain text. `voice`: an index into AllVoices(), or none to keep the voice last
    // given (the platform's default until one is given). Blocks until the audio is ready.
    virtual std::unique_ptr<AudioClip> Synthesize(const std::wstring& text, std::optional<std::size_t> voice) = 0;
};

// Every call but Stop may throw when the platform fails.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Called on a platform thread whenever the clip playing has ended; set before any Play.
    // An empty handler unregisters: no call comes after it returns.
    virtual void SetEndedHandler(std::function<void()> ended) = 0;
    virtual void SetVolume(double volume) = 0;  // 0.0 to 1.0
    // A clip from a complete WAV file in memory; blocks until the bytes are stored.
    virtual std::unique_ptr<AudioClip> ClipFromWav(const std::vector<std::uint8_t>& wav) = 0;
    // Replaces whatever plays now and starts playing `clip`.
    virtual void Play(std::unique_ptr<AudioClip> clip) = 0;
    // Pauses and lets go of the current clip.
    virtual void Stop() noexcept = 0;
};

}  // namespace veltrano
