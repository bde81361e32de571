// Program entry: the event-source commands, or single instance, apartment, common controls, main
// window, message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <optional>
#include <string>

#include "app/application.h"
#include "app/event_source_command.h"
#include "app/single_instance.h"
#include "app/speech_start.h"
#include "base/com_apartment.h"
#include "storage/data_paths.h"

namespace {

int RunMessageLoop() {
    MSG message{};
    BOOL result;
    while ((result = ::GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) return 0;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int RunProgram(HINSTANCE instance) {
    veltrano::SingleInstanceGuard instanceGuard;
    if (instanceGuard.AnotherInstanceRuns()) {
        ::MessageBoxW(nullptr, L"このソフトはすでに起動しています。", L"Veltrano", MB_ICONWARNING);
        return 0;
    }

    // The multi-threaded apartment for the whole run.
    const veltrano::ComApartment apartment(COINIT_MULTITHREADED);
    if (FAILED(apartment.Result())) {
        wchar_t text[96];
        swprintf(text, std::size(text), L"COM の初期化に失敗しました。(0x%08lX)",
                 static_cast<unsigned long>(apartment.Result()));
        ::MessageBoxW(nullptr, text, L"エラー - Veltrano", MB_ICONERROR);
        return static_cast<int>(apartment.Result());
    }

    veltrano::DataPaths paths = veltrano::DataPaths::ForThisProcess();
    // Voices are listed before any window exists; released after the last window is gone.
    veltrano::SpeechStart speech = veltrano::StartSpeech(paths.programFolder);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    veltrano::Application application(instance, std::move(paths), std::move(speech));
    if (!application.CreateMainWindow()) return 0;
    const int exitCode = RunMessageLoop();
    // A restart may begin while the speech player still waits for its syntheses.
    instanceGuard.Release();
    return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        // Neither starts the guard nor counts as a second instance.
        if (const std::optional<int> exitCode = veltrano::RunEventSourceCommand(::GetCommandLineW())) return *exitCode;
        return RunProgram(instance);
    } catch (...) {
        ::MessageBoxW(nullptr, L"予期しないエラーのため終了します。", L"エラー - Veltrano", MB_ICONERROR);
        return 1;
    }
}
