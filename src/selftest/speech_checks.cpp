#include "selftest/speech_checks.h"

#include <optional>
#include <string>

#include "notify/speech/voicevox_engine.h"
#include "notify/speech/winrt_audio_clip.h"
#include "notify/speech/winrt_speech.h"

namespace veltrano {
namespace {

constexpr wchar_t kSample[] = L"動作チェックです。";

bool IsJapanese(const InstalledVoice& voice) { return voice.language.starts_with(L"ja"); }

CheckVerdict InstalledVoices() {
    const std::vector<InstalledVoice> voices = CreateWindowsSpeechSynthesizer()->AllVoices();
    if (voices.empty()) return {CheckOutcome::Failed, L"音声がひとつもありません"};
    std::wstring names;
    size_t japanese = 0;
    for (const InstalledVoice& voice : voices) {
        if (IsJapanese(voice)) ++japanese;
        names += (names.empty() ? L"" : L"、") + voice.displayName + L"（" + voice.language + L"）";
    }
    return {CheckOutcome::Passed,
            std::to_wstring(voices.size()) + L" 個、うち日本語 " + std::to_wstring(japanese) + L" 個: " + names};
}

CheckVerdict WindowsSynthesis() {
    const std::unique_ptr<SpeechSynthesizerBackend> synthesizer = CreateWindowsSpeechSynthesizer();
    const std::vector<InstalledVoice> voices = synthesizer->AllVoices();
    std::optional<size_t> japanese;
    for (size_t i = 0; i < voices.size() && !japanese; ++i) {
        if (IsJapanese(voices[i])) japanese = i;
    }
    if (!japanese) return {CheckOutcome::NotApplicable, L"日本語の音声がありません"};
    const std::unique_ptr<AudioClip> clip = synthesizer->Synthesize(kSample, japanese);
    UINT64 size = 0;
    const auto* audio = dynamic_cast<const WinRtAudioClip*>(clip.get());
    if (!audio || !audio->stream || FAILED(audio->stream->get_Size(&size)) || size == 0) {
        return {CheckOutcome::Failed, L"合成した音声が空です（" + voices[*japanese].displayName + L"）"};
    }
    return {CheckOutcome::Passed, std::to_wstring(size) + L" バイト（" + voices[*japanese].displayName + L"）"};
}

CheckVerdict MediaPlayer() {
    CreateMediaPlayerOutput().reset();
    return {CheckOutcome::Passed, L"作成と解放ができました"};
}

CheckVerdict Voicevox(const std::wstring& programFolder) {
    if (!VoicevoxFilesPresent(programFolder)) return {CheckOutcome::NotApplicable, L"VOICEVOX のファイルがありません"};
    VoicevoxEngine engine(programFolder);
    const std::vector<VoicevoxStyle> styles = engine.LoadVoicevox();
    if (!engine.Ready()) return {CheckOutcome::Failed, L"エンジンを読み込めませんでした"};
    if (styles.empty()) return {CheckOutcome::Failed, L"音声モデルがありません"};
    const std::vector<std::uint8_t> wav = engine.SynthesizeVoicevox(kSample, styles.front().id);
    return {CheckOutcome::Passed, std::to_wstring(wav.size()) + L" バイト（" + styles.front().displayName + L"）"};
}

}  // namespace

std::vector<SelfTestCheck> SpeechChecks(const DataPaths& paths) {
    return {
        {L"Windows の音声一覧", InstalledVoices},
        {L"Windows の音声合成", WindowsSynthesis},
        {L"メディアプレーヤー", MediaPlayer},
        {L"VOICEVOX", [folder = paths.programFolder] { return Voicevox(folder); }},
    };
}

}  // namespace veltrano
