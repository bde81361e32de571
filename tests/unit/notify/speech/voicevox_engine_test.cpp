#include "notify/speech/voicevox_engine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/text_encoding.h"
#include "support/raw_files.h"
#include "support/temp_folder.h"
#include "support/voicevox_engine_folder.h"

namespace veltrano {
namespace {

using test::ReadBytes;
using test::EngineFolder;
using test::kDictionary;
using test::StandInWithoutJsonFree;
using test::TempFolder;
using test::WriteBytes;

std::vector<std::string> StartCalls(const EngineFolder& folder) {
    return {
        "voicevox_make_default_load_onnxruntime_options",
        "voicevox_onnxruntime_load_once voicevox_onnxruntime.dll",
        "voicevox_open_jtalk_rc_new " + folder.Utf8Path(kDictionary),
        "voicevox_make_default_initialize_options",
        "voicevox_synthesizer_new runtime dict#1 1 3",
    };
}

// The calls for the `number`th model opened.
std::vector<std::string> ModelCalls(const EngineFolder& folder, const std::wstring& name, int number) {
    const std::string model = "model#" + std::to_string(number);
    return {
        "voicevox_voice_model_file_open " + folder.Utf8Path(L"vvms\\" + name),
        "voicevox_voice_model_file_create_metas_json " + model,
        "voicevox_json_free json#" + std::to_string(number),
        "voicevox_synthesizer_load_voice_model synth#1 " + model,
        "voicevox_voice_model_file_delete " + model,
    };
}

const std::vector<std::string> kReleaseCalls = {"voicevox_synthesizer_delete synth#1",
                                                "voicevox_open_jtalk_rc_delete dict#1"};

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

using Listed = std::vector<std::pair<std::wstring, std::uint32_t>>;

Listed ListedOf(const std::vector<VoicevoxStyle>& styles) {
    Listed listed;
    for (const VoicevoxStyle& style : styles) listed.emplace_back(style.displayName, style.id);
    return listed;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(no error)";
}

const std::string kOneStyle = R"([{"name":"A","styles":[{"name":"X","id":1}]}])";

TEST(VoicevoxLoad, CallsTheEngineInOrderWithUtf8PathsAndReleasesIt) {
    EngineFolder folder;
    folder.WriteModel(L"四国めたん.vvm", R"([{"name":"四国めたん","styles":[{"name":"ノーマル","id":2}]}])");
    {
        VoicevoxEngine engine(folder.Path());
        EXPECT_EQ(ListedOf(engine.LoadVoicevox()), (Listed{{L"VOICEVOX: 四国めたん(ノーマル)", 2}}));
        EXPECT_TRUE(engine.Ready());
        EXPECT_EQ(folder.Calls(), Joined({StartCalls(folder), ModelCalls(folder, L"四国めたん.vvm", 1)}));

        engine.ReleaseVoicevox();
        EXPECT_FALSE(engine.Ready());
        engine.ReleaseVoicevox();
    }
    EXPECT_EQ(folder.Calls(), Joined({StartCalls(folder), ModelCalls(folder, L"四国めたん.vvm", 1), kReleaseCalls}));
}

TEST(VoicevoxLoad, DestructorReleasesTheEngine) {
    EngineFolder folder;
    { VoicevoxEngine(folder.Path()).LoadVoicevox(); }
    EXPECT_EQ(folder.Calls(), Joined({StartCalls(folder), kReleaseCalls}));
}

TEST(VoicevoxLoad, OpensOnlyFilesWhoseExtensionIsExactlyVvm) {
    EngineFolder folder;
    for (const wchar_t* name : {L"lower.vvm", L"upper.VVM", L"notes.vvm.txt", L"vvm", L"other.vvmx", L"二.重.vvm"})
        folder.WriteModel(name, kOneStyle);
    VoicevoxEngine engine(folder.Path());
    EXPECT_EQ(engine.LoadVoicevox().size(), 2u);

    std::vector<std::string> opened;
    for (const std::string& call : folder.Calls())
        if (call.starts_with("voicevox_voice_model_file_open ")) opened.push_back(call);
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(opened, (std::vector<std::string>{
                          "voicevox_voice_model_file_open " + folder.Utf8Path(L"vvms\\lower.vvm"),
                          "voicevox_voice_model_file_open " + folder.Utf8Path(L"vvms\\二.重.vvm"),
                      }));
}

TEST(VoicevoxLoad, MissingFileLeavesTheLibraryUnloaded) {
    for (const std::wstring missing : {L"voicevox_core.dll", L"voicevox_onnxruntime.dll", kDictionary}) {
        SCOPED_TRACE(WideToUtf8(missing));
        EngineFolder folder;
        folder.WriteModel(L"a.vvm", kOneStyle);
        std::filesystem::remove(folder.Path(missing));
        VoicevoxEngine engine(folder.Path());
        EXPECT_TRUE(engine.LoadVoicevox().empty());
        EXPECT_FALSE(engine.Ready());
        EXPECT_FALSE(folder.LibraryLoaded());
        EXPECT_FALSE(folder.LogExists());
    }
}

TEST(VoicevoxLoad, AnyKindOfObjectCountsAsPresent) {
    EngineFolder folder;
    std::filesystem::remove(folder.Path(L"voicevox_onnxruntime.dll"));
    std::filesystem::create_directory(folder.Path(L"voicevox_onnxruntime.dll"));
    std::filesystem::remove(folder.Path(kDictionary));
    WriteBytes(folder.Path(kDictionary), "not a folder");
    VoicevoxEngine engine(folder.Path());
    EXPECT_TRUE(engine.LoadVoicevox().empty());
    // Past the presence checks; the stand-in refuses a dictionary that is a file.
    const std::vector<std::string> start = StartCalls(folder);
    EXPECT_EQ(folder.Calls(), std::vector<std::string>(start.begin(), start.begin() + 3));
    EXPECT_FALSE(engine.Ready());
}

TEST(VoicevoxLoad, EmptyProgramFolderNeverLoads) {
    VoicevoxEngine engine(L"");
    EXPECT_TRUE(engine.LoadVoicevox().empty());
    EXPECT_FALSE(engine.Ready());
}

TEST(VoicevoxLoad, UnanswerablePresenceThrows) {
    TempFolder temp;
    VoicevoxEngine engine(temp / L"a|b");
    const std::string error = ErrorOf([&] { engine.LoadVoicevox(); });
    EXPECT_TRUE(error.starts_with("exists: ")) << error;
}

TEST(VoicevoxLoad, LibraryThatCannotBeBoundIsNoEngine) {
    {
        SCOPED_TRACE("not a library");
        EngineFolder folder;
        WriteBytes(folder.Library(), "MZ but nothing more");
        VoicevoxEngine engine(folder.Path());
        EXPECT_TRUE(engine.LoadVoicevox().empty());
        EXPECT_FALSE(engine.Ready());
    }
    {
        SCOPED_TRACE("an export missing");
        EngineFolder folder(StandInWithoutJsonFree());
        folder.WriteModel(L"a.vvm", kOneStyle);
        VoicevoxEngine engine(folder.Path());
        EXPECT_TRUE(engine.LoadVoicevox().empty());
        EXPECT_FALSE(engine.Ready());
        EXPECT_FALSE(folder.LogExists());
        EXPECT_THROW(engine.SynthesizeVoicevox(L"a", 1), VoicevoxSynthesisError);
    }
}

TEST(VoicevoxLoad, FailingStartStepStopsAndReleaseDeletesWhatExists) {
    const struct {
        const char* function;
        size_t callsMade;
        std::vector<std::string> releaseCalls;
    } cases[] = {
        {"voicevox_onnxruntime_load_once", 2, {}},
        {"voicevox_open_jtalk_rc_new", 3, {}},
        {"voicevox_synthesizer_new", 5, {"voicevox_open_jtalk_rc_delete dict#1"}},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.function);
        EngineFolder folder;
        folder.WriteModel(L"a.vvm", kOneStyle);
        folder.Fail(failing.function);
        VoicevoxEngine engine(folder.Path());
        EXPECT_TRUE(engine.LoadVoicevox().empty());
        EXPECT_FALSE(engine.Ready());
        const std::vector<std::string> start = StartCalls(folder);
        const std::vector<std::string> made(start.begin(),
                                            start.begin() + static_cast<std::ptrdiff_t>(failing.callsMade));
        EXPECT_EQ(folder.Calls(), made);

        engine.ReleaseVoicevox();
        EXPECT_EQ(folder.Calls(), Joined({made, failing.releaseCalls}));
    }
}

TEST(VoicevoxLoad, MissingModelFolderIsCreatedAndGivesNoStyles) {
    EngineFolder folder;
    VoicevoxEngine engine(folder.Path());
    EXPECT_TRUE(engine.LoadVoicevox().empty());
    EXPECT_TRUE(engine.Ready());
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path(L"vvms")));
    EXPECT_EQ(folder.Calls(), StartCalls(folder));
}

TEST(VoicevoxLoad, ModelFolderThatCannotBeListedThrows) {
    EngineFolder folder;
    WriteBytes(folder.Path(L"vvms"), "a file");
    VoicevoxEngine engine(folder.Path());
    const std::string error = ErrorOf([&] { engine.LoadVoicevox(); });
    EXPECT_TRUE(error.starts_with("directory_iterator::directory_iterator: ")) << error;
    EXPECT_TRUE(error.ends_with(": " + folder.Utf8Path(L"vvms"))) << error;
}

TEST(VoicevoxLoad, ModelStepFailuresSkipOnlyWhatDependsOnThem) {
    const struct {
        const char* function;
        std::vector<std::string> calls;  // after the model is opened
        size_t styles;
    } cases[] = {
        {"voicevox_voice_model_file_open", {}, 0},
        {"voicevox_voice_model_file_create_metas_json",
         {"voicevox_voice_model_file_create_metas_json model#1",
          "voicevox_synthesizer_load_voice_model synth#1 model#1", "voicevox_voice_model_file_delete model#1"},
         0},
        {"voicevox_synthesizer_load_voice_model",
         {"voicevox_voice_model_file_create_metas_json model#1", "voicevox_json_free json#1",
          "voicevox_synthesizer_load_voice_model synth#1 model#1", "voicevox_voice_model_file_delete model#1"},
         1},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.function);
        EngineFolder folder;
        folder.WriteModel(L"a.vvm", kOneStyle);
        folder.Fail(failing.function);
        VoicevoxEngine engine(folder.Path());
        EXPECT_EQ(engine.LoadVoicevox().size(), failing.styles);
        EXPECT_EQ(folder.Calls(), Joined({StartCalls(folder),
                                          {"voicevox_voice_model_file_open " + folder.Utf8Path(L"vvms\\a.vvm")},
                                          failing.calls}));
    }
}

TEST(VoicevoxStyles, EveryModelInListingOrderWithDuplicates) {
    EngineFolder folder;
    folder.WriteModel(L"a.vvm", R"([{"name":"A","styles":[{"name":"X","id":3},{"name":"Y","id":1}]}])");
    folder.WriteModel(L"b.vvm",
                      R"([{"name":"A","styles":[{"name":"X","id":3}]},{"name":"B","styles":[{"name":"Z","id":7}]}])");
    const Listed fromA = {{L"VOICEVOX: A(X)", 3}, {L"VOICEVOX: A(Y)", 1}};
    const Listed fromB = {{L"VOICEVOX: A(X)", 3}, {L"VOICEVOX: B(Z)", 7}};

    Listed expected;
    for (const std::wstring& name : folder.ListedModels()) {
        const Listed& styles = name == L"a.vvm" ? fromA : fromB;
        expected.insert(expected.end(), styles.begin(), styles.end());
    }
    VoicevoxEngine engine(folder.Path());
    EXPECT_EQ(ListedOf(engine.LoadVoicevox()), expected);
}

TEST(VoicevoxStyles, IdsAreTruncatedAndOtherMembersIgnored) {
    EngineFolder folder;
    folder.WriteModel(L"a.vvm", R"([{"name":"A","speaker_uuid":"u","version":"0.16.0","styles":[
        {"name":"whole","id":0,"type":"talk"},{"name":"fraction","id":2.9},{"name":"negative","id":-1},
        {"name":"large","id":4294967298},{"name":"negative fraction","id":-0.5}]}])");
    VoicevoxEngine engine(folder.Path());
    EXPECT_EQ(ListedOf(engine.LoadVoicevox()), (Listed{{L"VOICEVOX: A(whole)", 0},
                                                       {L"VOICEVOX: A(fraction)", 2},
                                                       {L"VOICEVOX: A(negative)", 4294967295u},
                                                       {L"VOICEVOX: A(large)", 2},
                                                       {L"VOICEVOX: A(negative fraction)", 0}}));
}

TEST(VoicevoxStyles, FaultInMetadataKeepsTheStylesBeforeIt) {
    const Listed justX = {{L"VOICEVOX: A(X)", 1}};
    const std::string kSpeakerC = R"({"name":"C","styles":[{"name":"W","id":4}]}])";
    const struct {
        const char* name;
        std::string json;
        Listed styles;
    } cases[] = {
        {"malformed text", R"([{"name":"A","styles":[{"name":"X","id":1}]})", {}},
        {"not JSON", "\xE6\x9C\xAA", {}},
        {"not an array", R"({"name":"A","styles":[]})", {}},
        // After each fault a well-formed entry that must not be read.
        {"speaker not an object", R"([{"name":"A","styles":[{"name":"X","id":1}]},"B",)" + kSpeakerC, justX},
        {"speaker name missing", R"([{"name":"A","styles":[{"name":"X","id":1}]},{"styles":[]},)" + kSpeakerC, justX},
        {"speaker name a number", R"([{"name":"A","styles":[{"name":"X","id":1}]},{"name":2,"styles":[]},)" + kSpeakerC,
         justX},
        {"styles missing", R"([{"name":"A","styles":[{"name":"X","id":1}]},{"name":"B"},)" + kSpeakerC, justX},
        {"styles an object", R"([{"name":"A","styles":[{"name":"X","id":1}]},{"name":"B","styles":{}},)" + kSpeakerC,
         justX},
        {"style not an object", R"([{"name":"A","styles":[{"name":"X","id":1},7,{"name":"Z","id":3}]}])", justX},
        {"style name missing", R"([{"name":"A","styles":[{"name":"X","id":1},{"id":2},{"name":"Z","id":3}]}])", justX},
        {"style name null", R"([{"name":"A","styles":[{"name":"X","id":1},{"name":null,"id":2},{"name":"Z","id":3}]}])",
         justX},
        {"style id missing", R"([{"name":"A","styles":[{"name":"X","id":1},{"name":"Y"},{"name":"Z","id":3}]}])",
         justX},
        {"style id a string",
         R"([{"name":"A","styles":[{"name":"X","id":1},{"name":"Y","id":"2"},{"name":"Z","id":3}]}])", justX},
        {"style id a boolean",
         R"([{"name":"A","styles":[{"name":"X","id":1},{"name":"Y","id":true},{"name":"Z","id":3}]}])", justX},
        {"style id null", R"([{"name":"A","styles":[{"name":"X","id":1},{"name":"Y","id":null},{"name":"Z","id":3}]}])",
         justX},
    };
    const Listed fromGood = {{L"VOICEVOX: G(ok)", 9}};
    for (const auto& faulty : cases) {
        SCOPED_TRACE(faulty.name);
        EngineFolder folder;
        folder.WriteModel(L"faulty.vvm", faulty.json);
        folder.WriteModel(L"good.vvm", R"([{"name":"G","styles":[{"name":"ok","id":9}]}])");
        Listed expected;
        for (const std::wstring& name : folder.ListedModels()) {
            const Listed& styles = name == L"good.vvm" ? fromGood : faulty.styles;
            expected.insert(expected.end(), styles.begin(), styles.end());
        }
        VoicevoxEngine engine(folder.Path());
        EXPECT_EQ(ListedOf(engine.LoadVoicevox()), expected);
        // The faulty model is loaded and let go all the same.
        const std::vector<std::string> calls = folder.Calls();
        EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                                [](const std::string& call) {
                                    return call.starts_with("voicevox_synthesizer_load_voice_model ");
                                }),
                  2);
        EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                                [](const std::string& call) { return call.starts_with("voicevox_json_free json#"); }),
                  2);
    }
}

// The data chunk of a canonical 44-byte-header WAV file, after checking the header's sizes.
std::string DataChunkOf(const std::vector<std::uint8_t>& wav) {
    const std::string bytes(wav.begin(), wav.end());
    const auto size = [&](size_t at) {
        return static_cast<size_t>(static_cast<std::uint8_t>(bytes[at])) |
               static_cast<size_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8 |
               static_cast<size_t>(static_cast<std::uint8_t>(bytes[at + 2])) << 16 |
               static_cast<size_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24;
    };
    if (bytes.size() < 44 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 8) != "WAVEfmt " ||
        bytes.substr(36, 4) != "data" || size(4) != bytes.size() - 8 || size(40) != bytes.size() - 44)
        return "(not a WAV file)";
    return bytes.substr(44);
}

class VoicevoxSynthesis : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.emplace();
        engine_.emplace(folder_->Path());
        engine_->LoadVoicevox();
        ASSERT_TRUE(engine_->Ready());
        callsBefore_ = folder_->Calls().size();
    }
    void TearDown() override {
        engine_.reset();
        folder_.reset();
    }
    // The calls made since the engine was loaded.
    std::vector<std::string> NewCalls() const {
        const std::vector<std::string> calls = folder_->Calls();
        return std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(callsBefore_), calls.end());
    }

    std::optional<EngineFolder> folder_;
    std::optional<VoicevoxEngine> engine_;
    size_t callsBefore_ = 0;
};

TEST_F(VoicevoxSynthesis, GivesTheWholeWavAndFreesIt) {
    const std::vector<std::uint8_t> wav = engine_->SynthesizeVoicevox(L"こんにちは、世界", 0x01020304);
    EXPECT_EQ(DataChunkOf(wav), "\x04\x03\x02\x01" + WideToUtf8(L"こんにちは、世界"));
    EXPECT_EQ(NewCalls(), (std::vector<std::string>{
                              "voicevox_make_default_tts_options",
                              "voicevox_synthesizer_tts synth#1 16909060 1 " + WideToUtf8(L"こんにちは、世界"),
                              "voicevox_wav_free wav#1"}));
}

TEST_F(VoicevoxSynthesis, RefusalThrowsTheSynthesisError) {
    EXPECT_EQ(ErrorOf([&] { engine_->SynthesizeVoicevox(L"失敗する文", 1); }), "VOICEVOX v0.16 Synthesis failed");
    folder_->Fail("voicevox_synthesizer_tts");
    EXPECT_THROW(engine_->SynthesizeVoicevox(L"普通の文", 1), VoicevoxSynthesisError);
    for (const std::string& call : NewCalls()) EXPECT_FALSE(call.starts_with("voicevox_wav_free")) << call;
}

TEST_F(VoicevoxSynthesis, ReleasedEngineThrowsWithoutCallingTheLibrary) {
    engine_->ReleaseVoicevox();
    const size_t calls = folder_->Calls().size();
    EXPECT_THROW(engine_->SynthesizeVoicevox(L"a", 1), VoicevoxSynthesisError);
    EXPECT_EQ(folder_->Calls().size(), calls);
}

TEST(VoicevoxSynthesisNotReady, ThrowsWithoutCallingTheLibrary) {
    EngineFolder folder;
    folder.Fail("voicevox_synthesizer_new");
    VoicevoxEngine engine(folder.Path());
    EXPECT_THROW(engine.SynthesizeVoicevox(L"a", 1), VoicevoxSynthesisError);
    EXPECT_FALSE(folder.LogExists());

    engine.LoadVoicevox();
    const size_t calls = folder.Calls().size();
    EXPECT_THROW(engine.SynthesizeVoicevox(L"a", 1), VoicevoxSynthesisError);
    EXPECT_EQ(folder.Calls().size(), calls);
}

TEST_F(VoicevoxSynthesis, SynthesesRunSideBySide) {
    auto waiting = std::async(std::launch::async, [&] { return engine_->SynthesizeVoicevox(L"待機する", 1); });
    ASSERT_TRUE(folder_->AwaitFile(L"waiting"));
    // A synthesis serialized behind the waiting one would only return after the stand-in gave
    // up on it, and the waiting one would then fail.
    EXPECT_EQ(DataChunkOf(engine_->SynthesizeVoicevox(L"並行", 2)), std::string("\x02\0\0\0", 4) + "並行");
    WriteBytes(folder_->Path(L"release"), "");
    EXPECT_EQ(DataChunkOf(waiting.get()), std::string("\x01\0\0\0", 4) + "待機する");
}

TEST_F(VoicevoxSynthesis, ReleaseWaitsForRunningSyntheses) {
    auto waiting = std::async(std::launch::async, [&] { return engine_->SynthesizeVoicevox(L"待機する", 1); });
    ASSERT_TRUE(folder_->AwaitFile(L"waiting"));
    auto release = std::async(std::launch::async, [&] { engine_->ReleaseVoicevox(); });
    // A head start, so that a release that does not wait reaches the library before the synthesis ends.
    release.wait_for(std::chrono::milliseconds(200));
    WriteBytes(folder_->Path(L"release"), "");
    EXPECT_EQ(DataChunkOf(waiting.get()), std::string("\x01\0\0\0", 4) + "待機する");
    release.get();
    const std::vector<std::string> calls = NewCalls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 2, calls.end()),
              (std::vector<std::string>{"voicevox_wav_free wav#1", "voicevox_synthesizer_delete synth#1",
                                        "voicevox_open_jtalk_rc_delete dict#1"}));
}

}  // namespace
}  // namespace veltrano
