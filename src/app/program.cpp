#include "app/program.h"

#include <commctrl.h>
#include <objbase.h>

#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/event_source_command.h"
#include "app/main_window.h"
#include "app/self_test_command.h"
#include "app/single_instance.h"
#include "app/speech_start.h"
#include "base/com_apartment.h"
#include "settingsdialog/startup_shortcut.h"
#include "storage/data_paths.h"

namespace veltrano {
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

// Single instance, apartment, common controls, main window, message loop.
int RunGuard(HINSTANCE instance, OrganizationFolderAccess organizationAccess) {
    SingleInstanceGuard instanceGuard;
    if (instanceGuard.AnotherInstanceRuns()) {
        const std::vector<std::wstring> arguments = CommandArguments(::GetCommandLineW());
        if (arguments.size() != 1 || !IsSwitch(arguments[0], kLogonSwitch)) {
            ::MessageBoxW(nullptr, L"このソフトはすでに起動しています。", L"Veltrano", MB_ICONWARNING);
        }
        return 0;
    }

    // The multi-threaded apartment for the whole run.
    const ComApartment apartment(COINIT_MULTITHREADED);
    if (FAILED(apartment.Result())) {
        wchar_t text[96];
        swprintf(text, std::size(text), L"COM の初期化に失敗しました。(0x%08lX)",
                 static_cast<unsigned long>(apartment.Result()));
        ::MessageBoxW(nullptr, text, L"エラー - Veltrano", MB_ICONERROR);
        return static_cast<int>(apartment.Result());
    }

    DataPaths paths = DataPaths::ForThisProcess();
    // Voices are listed before any window exists; released after the last window is gone.
    SpeechStart speech = StartSpeech(paths.programFolder);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    MainWindow mainWindow(instance, std::move(paths), std::move(speech), std::move(organizationAccess));
    if (!mainWindow.Create()) return 0;
    const int exitCode = RunMessageLoop();
    mainWindow.EndAfterFailedLoop();
    // A restart may begin while the speech player still waits for its syntheses.
    instanceGuard.Release();
    return exitCode;
}

}  // namespace

int RunVeltrano(HINSTANCE instance, OrganizationFolderAccess organizationAccess) {
    try {
        // None of these starts the guard or counts as a second instance.
        if (const std::optional<int> exitCode = RunEventSourceCommand(::GetCommandLineW())) return *exitCode;
        if (const std::optional<int> exitCode = RunSelfTestCommand(instance, ::GetCommandLineW())) return *exitCode;
        return RunGuard(instance, std::move(organizationAccess));
    } catch (...) {
        ::MessageBoxW(nullptr, L"予期しないエラーのため終了します。", L"エラー - Veltrano", MB_ICONERROR);
        return 1;
    }
}

}  // namespace veltrano
