// A stand-in for voicevox_core.dll 0.16 that synthesizes nothing real and records every call.
//
// Beside the DLL it keeps:
//   voicevox_calls.log     one line per call: the function name, then its arguments (handles by
//                          the names given out, "?" for one it never gave or already took back;
//                          paths and texts last, as the UTF-8 bytes received).
// and it reads:
//   fail_<function>        that function fails (a null result for the metadata).
//   release                lets a synthesis of a text holding "待機" finish; until then it waits
//                          (announcing itself with a file "waiting"), and fails after ~10 s.
// A path or text that is not UTF-8 gives 12; a dictionary that is not a folder fails; a model
// file's content is its style metadata; a text holding "失敗" fails; a synthesis gives a small
// WAV whose samples are the style id (4 bytes, little-endian) and the text's UTF-8 bytes.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#define VOICEVOX_EXPORT __declspec(dllexport)
#include "notify/speech/voicevox_abi.h"

struct VoicevoxOnnxruntime {};
struct OpenJtalkRc {};
struct VoicevoxSynthesizer {};
struct VoicevoxVoiceModelFile {
    std::string metas;
};

namespace {

constexpr VoicevoxResultCode kRefused = 1;
constexpr std::string_view kRefuseMarker = "失敗";
constexpr std::string_view kWaitMarker = "待機";

VoicevoxOnnxruntime runtime;
std::atomic<int> synthesesRunning{0};

// Guards the log and the names below; calls may come from several threads.
SRWLOCK lock = SRWLOCK_INIT;
std::map<const void*, std::string> names;
std::map<std::string, int> counters;

class Exclusive {
public:
    Exclusive() { ::AcquireSRWLockExclusive(&lock); }
    ~Exclusive() { ::ReleaseSRWLockExclusive(&lock); }
    Exclusive(const Exclusive&) = delete;
    Exclusive& operator=(const Exclusive&) = delete;
};

std::wstring Beside(const wchar_t* name) {
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<const wchar_t*>(&Beside), &self);
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(self, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Refused(const char* function) {
    std::wstring name = L"fail_";
    for (const char* c = function; *c; ++c) name += static_cast<wchar_t>(*c);
    return Exists(Beside(name.c_str()));
}

void Log(const std::string& line) {
    Exclusive guard;
    const HANDLE file = ::CreateFileW(Beside(L"voicevox_calls.log").c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string bytes = line + "\n";
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string Give(const void* object, const std::string& kind) {
    Exclusive guard;
    return names[object] = kind + "#" + std::to_string(++counters[kind]);
}

std::string NameOf(const void* object) {
    Exclusive guard;
    const auto found = names.find(object);
    return found == names.end() ? "?" : found->second;
}

// True when the object was given out and not yet taken back.
bool TakeBack(const void* object) {
    Exclusive guard;
    return names.erase(object) == 1;
}

// False when not UTF-8.
bool ToWide(const char* utf8, std::wstring& wide) {
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 0) return false;
    wide.resize(static_cast<size_t>(length));
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), length);
    wide.pop_back();
    return true;
}

bool ReadWhole(const std::wstring& path, std::string& content) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[4096];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) content.append(buffer, read);
    ::CloseHandle(file);
    return ok;
}

// Waits for the test to let the synthesis go; false when it never does.
bool AwaitRelease() {
    const HANDLE waiting = ::CreateFileW(Beside(L"waiting").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (waiting != INVALID_HANDLE_VALUE) ::CloseHandle(waiting);
    const std::wstring release = Beside(L"release");
    for (int round = 0; round < 1000; ++round) {
        if (Exists(release)) return true;
        ::Sleep(10);
    }
    return false;
}

void AppendLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// 16-bit mono PCM at 24 kHz, like the real engine's output.
std::string Wav(std::uint32_t style, std::string_view text) {
    std::string samples;
    AppendLittleEndian(samples, style, 4);
    samples += text;
    if (samples.size() % 2) samples += '\0';
    std::string wav = "RIFF";
    AppendLittleEndian(wav, static_cast<std::uint32_t>(36 + samples.size()), 4);
    wav += "WAVEfmt ";
    AppendLittleEndian(wav, 16, 4);
    AppendLittleEndian(wav, 1, 2);  // PCM
    AppendLittleEndian(wav, 1, 2);  // channels
    AppendLittleEndian(wav, 24000, 4);
    AppendLittleEndian(wav, 24000 * 2, 4);
    AppendLittleEndian(wav, 2, 2);
    AppendLittleEndian(wav, 16, 2);
    wav += "data";
    AppendLittleEndian(wav, static_cast<std::uint32_t>(samples.size()), 4);
    return wav + samples;
}

}  // namespace

extern "C" {

VoicevoxLoadOnnxruntimeOptions voicevox_make_default_load_onnxruntime_options(void) {
    Log("voicevox_make_default_load_onnxruntime_options");
    return {"voicevox_onnxruntime.dll"};
}

VoicevoxResultCode voicevox_onnxruntime_load_once(VoicevoxLoadOnnxruntimeOptions options,
                                                  const VoicevoxOnnxruntime** out_onnxruntime) {
    Log(std::string("voicevox_onnxruntime_load_once ") + (options.filename ? options.filename : "(null)"));
    if (Refused(__func__)) return kRefused;
    *out_onnxruntime = &runtime;
    return VOICEVOX_RESULT_OK;
}

VoicevoxResultCode voicevox_open_jtalk_rc_new(const char* open_jtalk_dic_dir, OpenJtalkRc** out_open_jtalk) {
    Log(std::string("voicevox_open_jtalk_rc_new ") + open_jtalk_dic_dir);
    std::wstring folder;
    if (!ToWide(open_jtalk_dic_dir, folder)) return VOICEVOX_RESULT_INVALID_UTF8_INPUT_ERROR;
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) || Refused(__func__))
        return kRefused;
    *out_open_jtalk = new OpenJtalkRc;
    Give(*out_open_jtalk, "dict");
    return VOICEVOX_RESULT_OK;
}

void voicevox_open_jtalk_rc_delete(OpenJtalkRc* open_jtalk) {
    Log("voicevox_open_jtalk_rc_delete " + NameOf(open_jtalk));
    if (TakeBack(open_jtalk)) delete open_jtalk;
}

// Not the real engine's zeros, so that a value lost on the way shows in the log.
VoicevoxInitializeOptions voicevox_make_default_initialize_options(void) {
    Log("voicevox_make_default_initialize_options");
    return {1, 3};
}

VoicevoxResultCode voicevox_synthesizer_new(const VoicevoxOnnxruntime* onnxruntime, const OpenJtalkRc* open_jtalk,
                                            VoicevoxInitializeOptions options, VoicevoxSynthesizer** out_synthesizer) {
    Log("voicevox_synthesizer_new " + std::string(onnxruntime == &runtime ? "runtime" : "?") + " " +
        NameOf(open_jtalk) + " " + std::to_string(options.acceleration_mode) + " " +
        std::to_string(options.cpu_num_threads));
    if (Refused(__func__)) return kRefused;
    *out_synthesizer = new VoicevoxSynthesizer;
    Give(*out_synthesizer, "synth");
    return VOICEVOX_RESULT_OK;
}

void voicevox_synthesizer_delete(VoicevoxSynthesizer* synthesizer) {
    Log("voicevox_synthesizer_delete " + NameOf(synthesizer) + (synthesesRunning > 0 ? " during tts" : ""));
    if (TakeBack(synthesizer)) delete synthesizer;
}

VoicevoxResultCode voicevox_voice_model_file_open(const char* path, VoicevoxVoiceModelFile** out_model) {
    Log(std::string("voicevox_voice_model_file_open ") + path);
    std::wstring widePath;
    if (!ToWide(path, widePath)) return VOICEVOX_RESULT_INVALID_UTF8_INPUT_ERROR;
    std::string content;
    if (Refused(__func__) || !ReadWhole(widePath, content)) return kRefused;
    *out_model = new VoicevoxVoiceModelFile{std::move(content)};
    Give(*out_model, "model");
    return VOICEVOX_RESULT_OK;
}

char* voicevox_voice_model_file_create_metas_json(const VoicevoxVoiceModelFile* model) {
    Log("voicevox_voice_model_file_create_metas_json " + NameOf(model));
    if (Refused(__func__) || NameOf(model) == "?") return nullptr;
    char* json = static_cast<char*>(std::malloc(model->metas.size() + 1));
    std::memcpy(json, model->metas.c_str(), model->metas.size() + 1);
    Give(json, "json");
    return json;
}

void voicevox_voice_model_file_delete(VoicevoxVoiceModelFile* model) {
    Log("voicevox_voice_model_file_delete " + NameOf(model));
    if (TakeBack(model)) delete model;
}

VoicevoxResultCode voicevox_synthesizer_load_voice_model(const VoicevoxSynthesizer* synthesizer,
                                                         const VoicevoxVoiceModelFile* model) {
    Log("voicevox_synthesizer_load_voice_model " + NameOf(synthesizer) + " " + NameOf(model));
    return Refused(__func__) ? kRefused : VOICEVOX_RESULT_OK;
}

VoicevoxTtsOptions voicevox_make_default_tts_options(void) {
    Log("voicevox_make_default_tts_options");
    return {true};
}

VoicevoxResultCode voicevox_synthesizer_tts(const VoicevoxSynthesizer* synthesizer, const char* text,
                                            VoicevoxStyleId style_id, VoicevoxTtsOptions options,
                                            std::uintptr_t* output_wav_length, std::uint8_t** output_wav) {
    ++synthesesRunning;
    struct Done {
        ~Done() { --synthesesRunning; }
    } done;
    Log("voicevox_synthesizer_tts " + NameOf(synthesizer) + " " + std::to_string(style_id) + " " +
        std::to_string(options.enable_interrogative_upspeak) + " " + text);
    std::wstring ignored;
    if (!ToWide(text, ignored)) return VOICEVOX_RESULT_INVALID_UTF8_INPUT_ERROR;
    const std::string_view view(text);
    if (Refused(__func__) || NameOf(synthesizer) == "?" || view.find(kRefuseMarker) != std::string_view::npos)
        return kRefused;
    if (view.find(kWaitMarker) != std::string_view::npos && !AwaitRelease()) return kRefused;
    const std::string wav = Wav(style_id, view);
    auto* bytes = static_cast<std::uint8_t*>(std::malloc(wav.size()));
    std::memcpy(bytes, wav.data(), wav.size());
    Give(bytes, "wav");
    *output_wav_length = wav.size();
    *output_wav = bytes;
    return VOICEVOX_RESULT_OK;
}

void voicevox_wav_free(std::uint8_t* wav) {
    Log("voicevox_wav_free " + NameOf(wav));
    if (TakeBack(wav)) std::free(wav);
}

// Left out of one build, to stand for a library that lacks an export.
#ifndef VOICEVOX_TEST_WITHOUT_JSON_FREE
void voicevox_json_free(char* json) {
    Log("voicevox_json_free " + NameOf(json));
    if (TakeBack(json)) std::free(json);
}
#endif

}  // extern "C"
