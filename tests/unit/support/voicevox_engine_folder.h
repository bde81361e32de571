#pragma once
// A program folder (with a Japanese name) holding the VOICEVOX engine's files, with the test
// stand-in library as voicevox_core.dll, and what the stand-in logged.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/text_encoding.h"
#include "support/host_paths.h"
#include "support/raw_files.h"
#include "support/temp_folder.h"

namespace veltrano::test {

inline const std::wstring& CompleteStandIn() {
    static const std::wstring path = WindowsPathFromHost(VOICEVOX_STAND_IN_HOST_PATH);
    return path;
}

inline const std::wstring& StandInWithoutJsonFree() {
    static const std::wstring path = WindowsPathFromHost(VOICEVOX_INCOMPLETE_STAND_IN_HOST_PATH);
    return path;
}

inline constexpr wchar_t kDictionary[] = L"open_jtalk_dic_utf_8-1.11";

// A program folder (with a Japanese name) holding the engine's files, the stand-in library as
// voicevox_core.dll. Outlive every engine using it.
class EngineFolder {
public:
    explicit EngineFolder(const std::wstring& standIn = CompleteStandIn()) {
        if (!::CopyFileW(standIn.c_str(), Library().c_str(), FALSE))
            throw std::runtime_error("cannot copy the stand-in library");
        WriteBytes(Path(L"voicevox_onnxruntime.dll"), "runtime");
        std::filesystem::create_directory(Path(kDictionary));
    }
    // The engine keeps its library for the process; unloading this copy lets the folder go.
    ~EngineFolder() {
        if (HMODULE module = ::GetModuleHandleW(Library().c_str())) ::FreeLibrary(module);
    }
    EngineFolder(const EngineFolder&) = delete;
    EngineFolder& operator=(const EngineFolder&) = delete;

    const std::wstring& Path() const { return folder_.Path(); }
    std::wstring Path(const std::wstring& relative) const { return folder_ / relative; }
    std::string Utf8Path(const std::wstring& relative) const { return WideToUtf8(Path(relative)); }
    std::wstring Library() const { return Path(L"voicevox_core.dll"); }

    void WriteModel(const std::wstring& name, const std::string& metasJson) const {
        std::filesystem::create_directories(Path(L"vvms"));
        WriteBytes(Path(L"vvms\\" + name), metasJson);
    }
    // Makes that function of the stand-in fail.
    void Fail(const std::string& function) const { WriteBytes(Path(L"fail_" + Utf8ToWide(function)), ""); }

    std::vector<std::string> Calls() const {
        std::vector<std::string> lines;
        const std::string log = ReadBytes(Path(L"voicevox_calls.log"));
        for (size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(log.substr(start, end - start));
        return lines;
    }
    bool LogExists() const { return std::filesystem::exists(Path(L"voicevox_calls.log")); }
    bool LibraryLoaded() const { return ::GetModuleHandleW(Library().c_str()) != nullptr; }

    // The .vvm files in the order the folder lists them.
    std::vector<std::wstring> ListedModels() const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(Path(L"vvms")))
            names.push_back(entry.path().filename().wstring());
        return names;
    }

    // Waits for a file the stand-in writes; false after ~10 s.
    bool AwaitFile(const std::wstring& name) const {
        for (int round = 0; round < 1000; ++round) {
            if (std::filesystem::exists(Path(name))) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

private:
    TempFolder folder_;
};

}  // namespace veltrano::test
