#include "app/speech_start.h"

#include "base/text_encoding.h"
#include "notify/speech/winrt_speech.h"

namespace veltrano {
namespace {

// Start-up goes on whatever the message holds.
std::wstring ReasonOf(const std::exception& error) {
    try {
        return Utf8ToWide(error.what());
    } catch (const std::exception&) {
        return L"(理由不明)";
    }
}

}  // namespace

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
        return {nullptr, ReasonOf(error)};
    }
}

}  // namespace veltrano
