#include "app/speech_start.h"

#include "notify/winrt_speech.h"
#include "storage/text_encoding.h"

namespace veltrano {

SpeechStart StartSpeech(const std::wstring& programFolder) {
    try {
        // The player first, then the synthesizer, then the engine's voices.
        std::unique_ptr<AudioOutput> output = CreateMediaPlayerOutput();
        std::unique_ptr<SpeechSynthesizerBackend> synthesizer = CreateWindowsSpeechSynthesizer();
        return {std::make_shared<SpeechPlayer>(std::move(output), std::move(synthesizer),
                                               std::make_unique<VoicevoxEngine>(programFolder)),
                {}};
    } catch (const std::exception& error) {
        // A system without the media classes: notifications go on without a voice.
        return {nullptr, Utf8ToWide(error.what())};
    }
}

}  // namespace veltrano
