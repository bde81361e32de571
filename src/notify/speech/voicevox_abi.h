#pragma once
// The part of the C API of voicevox_core.dll 0.16 that the program uses. Only the engine binding
// and the test stand-in include it; the stand-in defines these functions, so a declaration that
// drifts from what the binding calls does not compile.
#include <cstdint>

// The stand-in defines this as dllexport; for the binding the functions are only declared, to
// give GetProcAddress results their types.
#ifndef VOICEVOX_EXPORT
#define VOICEVOX_EXPORT
#endif

extern "C" {

typedef std::int32_t VoicevoxResultCode;
typedef std::uint32_t VoicevoxStyleId;

enum : VoicevoxResultCode {
    VOICEVOX_RESULT_OK = 0,
    VOICEVOX_RESULT_INVALID_UTF8_INPUT_ERROR = 12,
};

// Opaque handles owned by the engine.
struct VoicevoxOnnxruntime;
struct OpenJtalkRc;
struct VoicevoxSynthesizer;
struct VoicevoxVoiceModelFile;

// Passed and returned by value.
struct VoicevoxLoadOnnxruntimeOptions {
    const char* filename;
};
struct VoicevoxInitializeOptions {
    std::int32_t acceleration_mode;
    std::uint16_t cpu_num_threads;
};
struct VoicevoxTtsOptions {
    bool enable_interrogative_upspeak;
};

static_assert(sizeof(VoicevoxLoadOnnxruntimeOptions) == 8);
static_assert(sizeof(VoicevoxInitializeOptions) == 8 && alignof(VoicevoxInitializeOptions) == 4);
static_assert(sizeof(VoicevoxTtsOptions) == 1);

VOICEVOX_EXPORT VoicevoxLoadOnnxruntimeOptions voicevox_make_default_load_onnxruntime_options(void);
// The runtime is a process-wide singleton that is never freed.
VOICEVOX_EXPORT VoicevoxResultCode voicevox_onnxruntime_load_once(VoicevoxLoadOnnxruntimeOptions options,
                                                                  const VoicevoxOnnxruntime** out_onnxruntime);
VOICEVOX_EXPORT VoicevoxResultCode voicevox_open_jtalk_rc_new(const char* open_jtalk_dic_dir,
                                                              OpenJtalkRc** out_open_jtalk);
VOICEVOX_EXPORT void voicevox_open_jtalk_rc_delete(OpenJtalkRc* open_jtalk);
VOICEVOX_EXPORT VoicevoxInitializeOptions voicevox_make_default_initialize_options(void);
VOICEVOX_EXPORT VoicevoxResultCode voicevox_synthesizer_new(const VoicevoxOnnxruntime* onnxruntime,
                                                            const OpenJtalkRc* open_jtalk,
                                                            VoicevoxInitializeOptions options,
                                                            VoicevoxSynthesizer** out_synthesizer);
VOICEVOX_EXPORT void voicevox_synthesizer_delete(VoicevoxSynthesizer* synthesizer);
// `path` is UTF-8.
VOICEVOX_EXPORT VoicevoxResultCode voicevox_voice_model_file_open(const char* path, VoicevoxVoiceModelFile** out_model);
// JSON owned by the caller until voicevox_json_free; null on failure.
VOICEVOX_EXPORT char* voicevox_voice_model_file_create_metas_json(const VoicevoxVoiceModelFile* model);
VOICEVOX_EXPORT void voicevox_voice_model_file_delete(VoicevoxVoiceModelFile* model);
VOICEVOX_EXPORT VoicevoxResultCode voicevox_synthesizer_load_voice_model(const VoicevoxSynthesizer* synthesizer,
                                                                         const VoicevoxVoiceModelFile* model);
VOICEVOX_EXPORT VoicevoxTtsOptions voicevox_make_default_tts_options(void);
// A complete WAV file owned by the caller until voicevox_wav_free.
VOICEVOX_EXPORT VoicevoxResultCode voicevox_synthesizer_tts(const VoicevoxSynthesizer* synthesizer, const char* text,
                                                            VoicevoxStyleId style_id, VoicevoxTtsOptions options,
                                                            std::uintptr_t* output_wav_length,
                                                            std::uint8_t** output_wav);
VOICEVOX_EXPORT void voicevox_wav_free(std::uint8_t* wav);
VOICEVOX_EXPORT void voicevox_json_free(char* json);

}  // extern "C"
