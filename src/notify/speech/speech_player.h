#pragma once
// The one speech player of the process: the Japanese Windows voices and the VOICEVOX styles
// in one list, one text spoken at a time (a newer speech cuts off an older one), and a stop
// that silences it at once. Speak and WaitUntilFinished run on the notification workers.
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "notify/speech/speech_backends.h"
#include "notify/speech/speech_output.h"
#include "notify/speech/voicevox_engine.h"

namespace veltrano {

class SpeechPlayer final : public SpeechOutput {
public:
    // Collects the Japanese voices, loads VOICEVOX (`voicevox` may be null) and listens for the
    // end of playback. Throws when the platform fails; a failing VOICEVOX only leaves its styles out.
    SpeechPlayer(std::unique_ptr<AudioOutput> output, std::unique_ptr<SpeechSynthesizerBackend> synthesizer,
                 std::unique_ptr<VoicevoxEngine> voicevox);
    ~SpeechPlayer() override;
    SpeechPlayer(const SpeechPlayer&) = delete;
    SpeechPlayer& operator=(const SpeechPlayer&) = delete;

    // The Windows voices first, then the VOICEVOX styles; the list the settings offer.
    const std::vector<std::wstring>& VoiceNames() const noexcept { return voiceNames_; }

    void SetVolume(double volume) override;
    Ticket Speak(const std::wstring& text, const std::wstring& voiceName) override;
    void WaitUntilFinished(Ticket speech) override;
    void Stop() override;

private:
    // The speeches' bookkeeping. The end-of-playback handler holds it too: the platform may still
    // be running that handler on its own thread while the player is destroyed.
    struct Playback {
        std::mutex mutex;
        std::condition_variable finished;
        Ticket lastTicket = 0;
        Ticket finishedUpTo = 0;  // every speech up to this one has ended, was cut off or stopped
        Ticket playing = 0;       // 0 while nothing plays

        // With the lock held.
        bool Finished(Ticket speech) const;
        void FinishUpTo(Ticket speech);
        void OnEnded();
    };

    std::unique_ptr<AudioClip> Synthesize(const std::wstring& text, const std::wstring& voiceName);

    std::unique_ptr<AudioOutput> output_;
    std::unique_ptr<SpeechSynthesizerBackend> synthesizer_;
    std::vector<std::wstring> voiceNames_;
    // A name maps to the first voice or style of that name, although both are listed.
    std::map<std::wstring, std::size_t> windowsVoices_;  // name → index among the synthesizer's voices
    std::map<std::wstring, std::uint32_t> voicevoxStyles_;
    std::unique_ptr<VoicevoxEngine> voicevox_;

    // Orders starting and stopping the output, so a speech cannot start after a stop finished
    // it. Taken before the playback lock; the end handler takes only the playback lock.
    std::mutex outputOrder_;
    std::shared_ptr<Playback> playback_ = std::make_shared<Playback>();
};

}  // namespace veltrano
