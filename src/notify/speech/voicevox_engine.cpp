#include "notify/speech/voicevox_engine.h"

#include <windows.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <shared_mutex>
#include <string_view>
#include <utility>

#include "base/scope_exit.h"
#include "base/text_encoding.h"
#include "notify/speech/voicevox_abi.h"
#include "storage/file_system.h"

namespace veltrano {
namespace {

constexpr wchar_t kCoreLibrary[] = L"voicevox_core.dll";
constexpr wchar_t kRuntimeLibrary[] = L"voicevox_onnxruntime.dll";
constexpr wchar_t kDictionaryFolder[] = L"open_jtalk_dic_utf_8-1.11";
constexpr wchar_t kModelFolder[] = L"vvms";
constexpr wchar_t kModelExtension[] = L".vvm";

// Every export the engine calls; members carry the export names so binding cannot mix them up.
struct Api {
    decltype(&::voicevox_make_default_load_onnxruntime_options) voicevox_make_default_load_onnxruntime_options =
        nullptr;
    decltype(&::voicevox_onnxruntime_load_once) voicevox_onnxruntime_load_once = nullptr;
    decltype(&::voicevox_open_jtalk_rc_new) voicevox_open_jtalk_rc_new = nullptr;
    decltype(&::voicevox_open_jtalk_rc_delete) voicevox_open_jtalk_rc_delete = nullptr;
    decltype(&::voicevox_make_default_initialize_options) voicevox_make_default_initialize_options = nullptr;
    decltype(&::voicevox_synthesizer_new) voicevox_synthesizer_new = nullptr;
    decltype(&::voicevox_synthesizer_delete) voicevox_synthesizer_delete = nullptr;
    decltype(&::voicevox_voice_model_file_open) voicevox_voice_model_file_open = nullptr;
    decltype(&::voicevox_voice_model_file_create_metas_json) voicevox_voice_model_file_create_metas_json = nullptr;
    decltype(&::voicevox_voice_model_file_delete) voicevox_voice_model_file_delete = nullptr;
    decltype(&::voicevox_synthesizer_load_voice_model) voicevox_synthesizer_load_voice_model = nullptr;
    decltype(&::voicevox_make_default_tts_options) voicevox_make_default_tts_options = nullptr;
    decltype(&::voicevox_synthesizer_tts) voicevox_synthesizer_tts = nullptr;
    decltype(&::voicevox_wav_free) voicevox_wav_free = nullptr;
    decltype(&::voicevox_json_free) voicevox_json_free = nullptr;
};

template <typename Function>
bool BindExport(HMODULE module, const char* name, Function& function) {
    // Through void*: a direct cast from FARPROC trips -Wcast-function-type.
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    return function != nullptr;
}

bool BindAll(HMODULE module, Api& api) {
#define VELTRANO_BIND(name) BindExport(module, #name, api.name)
    return VELTRANO_BIND(voicevox_make_default_load_onnxruntime_options) &&
           VELTRANO_BIND(voicevox_onnxruntime_load_once) && VELTRANO_BIND(voicevox_open_jtalk_rc_new) &&
           VELTRANO_BIND(voicevox_open_jtalk_rc_delete) && VELTRANO_BIND(voicevox_make_default_initialize_options) &&
           VELTRANO_BIND(voicevox_synthesizer_new) && VELTRANO_BIND(voicevox_synthesizer_delete) &&
           VELTRANO_BIND(voicevox_voice_model_file_open) &&
           VELTRANO_BIND(voicevox_voice_model_file_create_metas_json) &&
           VELTRANO_BIND(voicevox_voice_model_file_delete) && VELTRANO_BIND(voicevox_synthesizer_load_voice_model) &&
           VELTRANO_BIND(voicevox_make_default_tts_options) && VELTRANO_BIND(voicevox_synthesizer_tts) &&
           VELTRANO_BIND(voicevox_wav_free) && VELTRANO_BIND(voicevox_json_free);
#undef VELTRANO_BIND
}

// Ids are unsigned 32-bit in the API; metadata may still spell them as negative or fractional
// numbers, which keep their low 32 bits after dropping the fraction. None for anything else.
std::optional<std::uint32_t> TruncatedId(const nlohmann::json& id) {
    if (id.is_number_unsigned()) return static_cast<std::uint32_t>(id.get<std::uint64_t>());
    if (id.is_number_integer()) return static_cast<std::uint32_t>(id.get<std::int64_t>());
    if (!id.is_number_float()) return std::nullopt;
    const double value = std::trunc(id.get<double>());
    // Beyond int64 the conversion is undefined; no real model has such an id.
    if (!(value >= -0x1p63 && value < 0x1p63)) return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}

const std::string& StringMember(const nlohmann::json& object, const char* name) {
    return object.at(name).get_ref<const std::string&>();
}

// Appends speaker by speaker, style by style; the first fault ends the text and keeps what came
// before it.
void AppendStyles(std::string_view metasJson, std::vector<VoicevoxStyle>& styles) {
    try {
        const nlohmann::json speakers = nlohmann::json::parse(metasJson);
        for (const nlohmann::json& speaker : speakers.get_ref<const nlohmann::json::array_t&>()) {
            const std::wstring speakerName = Utf8ToWide(StringMember(speaker, "name"));
            for (const nlohmann::json& style : speaker.at("styles").get_ref<const nlohmann::json::array_t&>()) {
                const std::wstring styleName = Utf8ToWide(StringMember(style, "name"));
                const std::optional<std::uint32_t> id = TruncatedId(style.at("id"));
                if (!id) return;
                styles.push_back({L"VOICEVOX: " + speakerName + L"(" + styleName + L")", *id});
            }
        }
    } catch (const nlohmann::json::exception&) {
        // Malformed text, or a member missing or of another type.
    } catch (const std::runtime_error&) {
        // A name that is not UTF-8 (the parser already refuses those).
    }
}

bool IsModelFile(const std::wstring& name) { return std::filesystem::path(name).extension() == kModelExtension; }

// The listing helper names its step "list"; the engine's messages name directory iteration, like
// its "exists" and "create_directories" messages name their steps.
std::vector<std::wstring> ListModelFolder(const std::wstring& folder) {
    try {
        return ListFileNames(folder);
    } catch (const std::runtime_error& error) {
        std::string_view detail = error.what();  // "list: <system text>: <path>"
        if (detail.starts_with("list: ")) detail.remove_prefix(6);
        throw std::runtime_error("directory_iterator::directory_iterator: " + std::string(detail));
    }
}

}  // namespace

struct VoicevoxEngine::Library {
    // Synthesis holds it shared; loading and release hold it alone, so handles never go away
    // under a synthesis that is still running.
    mutable std::shared_mutex lock;
    bool attempted = false;
    // Never freed: the runtime the library hands out lives for the process, and the library
    // may still have threads of its own.
    HMODULE module = nullptr;
    Api api;
    const VoicevoxOnnxruntime* runtime = nullptr;
    OpenJtalkRc* dictionary = nullptr;
    VoicevoxSynthesizer* synthesizer = nullptr;
    std::atomic<bool> ready{false};
};

VoicevoxEngine::VoicevoxEngine(std::wstring programFolder)
    : programFolder_(std::move(programFolder)), library_(std::make_unique<Library>()) {}

bool VoicevoxFilesPresent(const std::wstring& programFolder) {
    for (const wchar_t* required : {kCoreLibrary, kRuntimeLibrary, kDictionaryFolder}) {
        if (!FileExists(programFolder + L"\\" + required)) return false;
    }
    return true;
}

VoicevoxEngine::~VoicevoxEngine() { ReleaseVoicevox(); }

std::vector<VoicevoxStyle> VoicevoxEngine::LoadVoicevox() {
    std::unique_lock guard(library_->lock);
    Library& library = *library_;
    if (programFolder_.empty() || std::exchange(library.attempted, true)) return {};

    if (!VoicevoxFilesPresent(programFolder_)) return {};
    const std::wstring folder = programFolder_ + L"\\";

    // The full path alone, never the search path. The altered search path resolves its imports
    // from its own folder; the runtime library it opens by name is found in the program's folder.
    const std::wstring corePath = folder + kCoreLibrary;
    // A damaged or foreign library means no engine, not a system error box.
    DWORD errorMode = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &errorMode);
    HMODULE module = ::LoadLibraryExW(corePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    ::SetThreadErrorMode(errorMode, nullptr);
    if (!module) return {};
    if (!BindAll(module, library.api)) {
        ::FreeLibrary(module);  // nothing of it has run yet
        library.api = {};
        return {};
    }
    library.module = module;
    const Api& api = library.api;

    if (api.voicevox_onnxruntime_load_once(api.voicevox_make_default_load_onnxruntime_options(), &library.runtime) !=
        VOICEVOX_RESULT_OK)
        return {};
    const std::string dictionaryPath = WideToUtf8(folder + kDictionaryFolder);
    if (api.voicevox_open_jtalk_rc_new(dictionaryPath.c_str(), &library.dictionary) != VOICEVOX_RESULT_OK) {
        library.dictionary = nullptr;
        return {};
    }
    if (api.voicevox_synthesizer_new(library.runtime, library.dictionary,
                                     api.voicevox_make_default_initialize_options(),
                                     &library.synthesizer) != VOICEVOX_RESULT_OK) {
        library.synthesizer = nullptr;
        return {};
    }
    library.ready = true;

    const std::wstring modelFolder = folder + kModelFolder;
    if (!FileExists(modelFolder)) {
        if (!CreateFolders(modelFolder))
            throw std::runtime_error("create_directories: the folder could not be created: " + WideToUtf8(modelFolder));
        return {};
    }

    std::vector<VoicevoxStyle> styles;
    for (const std::wstring& name : ListModelFolder(modelFolder)) {
        if (!IsModelFile(name)) continue;
        // UTF-8 whatever the code page: 0.16 reads every path as UTF-8.
        const std::string modelPath = WideToUtf8(modelFolder + L"\\" + name);
        VoicevoxVoiceModelFile* model = nullptr;
        if (api.voicevox_voice_model_file_open(modelPath.c_str(), &model) != VOICEVOX_RESULT_OK) continue;
        ScopeExit deleteModel([&] { api.voicevox_voice_model_file_delete(model); });
        if (char* metas = api.voicevox_voice_model_file_create_metas_json(model)) {
            ScopeExit freeMetas([&] { api.voicevox_json_free(metas); });
            AppendStyles(metas, styles);
        }
        // A model that does not load only leaves its styles silent.
        api.voicevox_synthesizer_load_voice_model(library.synthesizer, model);
    }
    return styles;
}

bool VoicevoxEngine::Ready() const noexcept { return library_->ready; }

std::vector<std::uint8_t> VoicevoxEngine::SynthesizeVoicevox(const std::wstring& text, std::uint32_t style) const {
    std::shared_lock guard(library_->lock);
    const Library& library = *library_;
    if (!library.ready) throw VoicevoxSynthesisError();
    const Api& api = library.api;
    const std::string utf8 = WideToUtf8(text);
    std::uintptr_t length = 0;
    std::uint8_t* wav = nullptr;
    if (api.voicevox_synthesizer_tts(library.synthesizer, utf8.c_str(), style, api.voicevox_make_default_tts_options(),
                                     &length, &wav) != VOICEVOX_RESULT_OK)
        throw VoicevoxSynthesisError();
    ScopeExit freeWav([&] { api.voicevox_wav_free(wav); });
    return std::vector<std::uint8_t>(wav, wav + length);
}

void VoicevoxEngine::ReleaseVoicevox() noexcept {
    std::unique_lock guard(library_->lock);
    Library& library = *library_;
    library.ready = false;
    if (library.synthesizer) library.api.voicevox_synthesizer_delete(std::exchange(library.synthesizer, nullptr));
    if (library.dictionary) library.api.voicevox_open_jtalk_rc_delete(std::exchange(library.dictionary, nullptr));
}

}  // namespace veltrano
