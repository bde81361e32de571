#pragma once
// The optional VOICEVOX speech engine: voicevox_core.dll (C API of version 0.16), its runtime,
// the Open JTalk dictionary and the voice models in "vvms", all beside the program. Bound at
// run time only once the files are found, so the program runs the same without them.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrano {

struct VoicevoxStyle {
    std::wstring displayName;  // "VOICEVOX: " + speaker + "(" + style + ")"
    std::uint32_t id = 0;
};

// A synthesis the engine refused; the speech is then silent.
class VoicevoxSynthesisError : public std::runtime_error {
public:
    VoicevoxSynthesisError() : std::runtime_error("VOICEVOX v0.16 Synthesis failed") {}
};

// Whether the engine's library, its runtime and the dictionary are beside the program.
bool VoicevoxFilesPresent(const std::wstring& programFolder);

class VoicevoxEngine {
public:
    // `programFolder` empty: the engine never loads.
    explicit VoicevoxEngine(std::wstring programFolder);
    ~VoicevoxEngine();  // ReleaseVoicevox
    VoicevoxEngine(const VoicevoxEngine&) = delete;
    VoicevoxEngine& operator=(const VoicevoxEngine&) = delete;

    // Once: loads the engine when its files are present and gives the styles of every model in
    // "vvms", in listing order, duplicates included. Missing files or a failing engine give no
    // styles and no error; file-system failures throw std::runtime_error.
    std::vector<VoicevoxStyle> LoadVoicevox();
    bool Ready() const noexcept;
    // A complete WAV file. Throws VoicevoxSynthesisError when the engine fails or is not ready.
    // May run on several threads at once.
    std::vector<std::uint8_t> SynthesizeVoicevox(const std::wstring& text, std::uint32_t style) const;
    // Deletes the synthesizer, then the dictionary object, each if it exists.
    void ReleaseVoicevox() noexcept;

private:
    struct Library;  // the bound functions and the engine's handles
    std::wstring programFolder_;
    std::unique_ptr<Library> library_;
};

}  // namespace veltrano
