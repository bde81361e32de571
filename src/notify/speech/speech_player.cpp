#include "notify/speech/speech_player.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "base/text_encoding.h"

namespace veltrano {
namespace {

constexpr wchar_t kJapanese[] = L"ja-JP";

}  // namespace

SpeechPlayer::SpeechPlayer(std::unique_ptr<AudioOutput> output, std::unique_ptr<SpeechSynthesizerBackend> synthesizer,
                           std::unique_ptr<VoicevoxEngine> voicevox)
    : output_(std::move(output)), synthesizer_(std::move(synthesizer)), voicevox_(std::move(voicevox)) {
    const std::vector<InstalledVoice> voices = synthesizer_->AllVoices();
    for (std::size_t index = 0; index < voices.size(); ++index) {
        if (voices[index].language != kJapanese) continue;
        voiceNames_.push_back(voices[index].displayName);
        windowsVoices_.try_emplace(voices[index].displayName, index);
    }
    if (voicevox_) {
        try {
            for (const VoicevoxStyle& style : voicevox_->LoadVoicevox()) {
                voiceNames_.push_back(style.displayName);
                voicevoxStyles_.try_emplace(style.displayName, style.id);
            }
        } catch (const std::exception&) {
            // Its folders could not be read: the Windows voices still speak.
        }
    }
    output_->SetEndedHandler([playback = playback_] { playback->OnEnded(); });
}

SpeechPlayer::~SpeechPlayer() {
    // No end of playback may reach a player that is going away.
    output_->SetEndedHandler(nullptr);
    output_->Stop();
}

void SpeechPlayer::SetVolume(double volume) {
    try {
        output_->SetVolume(std::clamp(volume, 0.0, 1.0));
    } catch (const std::exception&) {
        // The speech keeps the volume it had; nothing to tell the user.
    }
}

SpeechOutput::Ticket SpeechPlayer::Speak(const std::wstring& text, const std::wstring& voiceName) {
    Playback& playback = *playback_;
    Ticket speech;
    {
        const std::lock_guard lock(playback.mutex);
        speech = ++playback.lastTicket;
    }
    // A failure leaves the ticket unplayed and unwaited: a later speech or a stop finishes it.
    std::unique_ptr<AudioClip> clip = Synthesize(text, voiceName);
    {
        const std::lock_guard order(outputOrder_);
        const std::lock_guard lock(playback.mutex);
        // Not when stopped, or cut off by a newer speech, while it was being synthesized.
        if (!playback.Finished(speech)) {
            output_->Play(std::move(clip));
            playback.playing = speech;
            playback.FinishUpTo(speech - 1);
        }
    }
    playback.finished.notify_all();
    return speech;
}

std::unique_ptr<AudioClip> SpeechPlayer::Synthesize(const std::wstring& text, const std::wstring& voiceName) {
    if (!voiceName.empty()) {
        if (const auto voice = windowsVoices_.find(voiceName); voice != windowsVoices_.end()) {
            return synthesizer_->Synthesize(text, voice->second);
        }
        if (const auto style = voicevoxStyles_.find(voiceName); style != voicevoxStyles_.end()) {
            if (!voicevox_ || !voicevox_->Ready()) {
                throw std::runtime_error(WideToUtf8(L"VOICEVOX の音声「" + voiceName + L"」を使う準備ができていません"));
            }
            return output_->ClipFromWav(voicevox_->SynthesizeVoicevox(text, style->second));
        }
    }
    // Any other voice would read Japanese text as noise or not at all.
    if (windowsVoices_.empty()) throw std::runtime_error(WideToUtf8(L"Windows の日本語の音声がありません"));
    // No name, or one that no longer exists: the voice the synthesizer has.
    return synthesizer_->Synthesize(text, std::nullopt);
}

void SpeechPlayer::WaitUntilFinished(Ticket speech) {
    Playback& playback = *playback_;
    std::unique_lock lock(playback.mutex);
    playback.finished.wait(lock, [&] { return playback.Finished(speech); });
}

void SpeechPlayer::Stop() {
    Playback& playback = *playback_;
    {
        const std::lock_guard order(outputOrder_);
        // Outside the playback lock: stopping may report the end of playback at once.
        output_->Stop();
        const std::lock_guard lock(playback.mutex);
        playback.playing = 0;
        playback.FinishUpTo(playback.lastTicket);
    }
    playback.finished.notify_all();
}

void SpeechPlayer::Playback::OnEnded() {
    {
        const std::lock_guard lock(mutex);
        FinishUpTo(std::exchange(playing, 0));
    }
    finished.notify_all();
}

bool SpeechPlayer::Playback::Finished(Ticket speech) const { return speech <= finishedUpTo; }

void SpeechPlayer::Playback::FinishUpTo(Ticket speech) { finishedUpTo = std::max(finishedUpTo, speech); }

}  // namespace veltrano
