#include "startup_bench.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "base/text_encoding.h"
#include "driver/clipboard_access.h"
#include "driver/history_files.h"
#include "driver/message_boxes.h"
#include "driver/popup_menus.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"

namespace veltrano::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kMainWindowClass[] = L"VeltranoClass";
constexpr wchar_t kDetectionCaption[] = L"クリップボード検出 - Veltrano";
constexpr WORD kExitCommand = 40001;
constexpr int kSizes[] = {0, 1000, 9999};
constexpr int kMenuEntries = 3000;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

std::wstring UserName() {
    wchar_t buffer[257];
    DWORD size = static_cast<DWORD>(std::size(buffer));
    return ::GetUserNameW(buffer, &size) ? buffer : L"";
}

// Files the program wrote itself: every sealed old entry is named in 2020.
bool HoldsANewFile(const std::wstring& folder) {
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder, error)) {
        if (!file.path().filename().wstring().starts_with(L"2020")) return true;
    }
    return false;
}

struct Startup {
    double guardMs = 0;   // process start → a copied keyword text is warned about
    double loadedMs = 0;  // process start → the copies made while loading are recorded
    double menuMs = 0;    // tray click → the history menu is on screen
};

// One start with `entries` old entries. The probe copies a keyword text every 20 ms until the
// warning comes; the history is loaded once those copies reach the folder.
std::optional<Startup> MeasureStartup(const std::wstring& programPath, int entries) {
    const auto folder = driver::TemporaryProgramFolder::Create();
    const std::wstring program = folder.CopyIn(programPath);
    const std::wstring user = UserName();
    const std::wstring history = folder.PathOf(user + L"_history");
    driver::WriteUtf16File(folder.PathOf(user + L"_Veltrano.ini"),
                           L"[Notify]\r\nNotifyMode=1\r\n[ClipboardHistory]\r\nClipboardHistoryMaxCount=9999\r\n");
    driver::WriteFileBytes(folder.PathOf(user + L"_wildcard_keywords.txt"), "\xEF\xBB\xBF*startup-probe*\n");
    driver::WriteFileBytes(folder.PathOf(user + L"_regex_keywords.txt"), "\xEF\xBB\xBF");
    driver::SealOldHistoryEntries(history, entries);

    const auto start = Clock::now();
    driver::StartedProgram started = driver::StartProgram(program, L"", folder.Path());
    const HWND mainWindow = driver::WaitForWindow({.className = kMainWindowClass, .processId = started.processId});
    std::optional<Startup> result;
    if (mainWindow) {
        const driver::WindowQuery boxQuery{
            .className = driver::kDialogClass, .caption = kDetectionCaption, .processId = started.processId, .visibleOnly = true};
        HWND box = nullptr;
        for (int probe = 0; !box && MsSince(start) < 60000; ++probe) {
            driver::SetClipboardText(L"startup-probe-" + std::to_wstring(probe));
            box = driver::WaitForWindow(boxQuery, 20);
        }
        Startup startup;
        startup.guardMs = MsSince(start);
        if (box) {
            driver::PressButton(box, IDOK);
            if (driver::PollUntil(120000, [&] { return HoldsANewFile(history); })) {
                startup.loadedMs = MsSince(start);
                const auto click = Clock::now();
                driver::PostTrayCallback(mainWindow, WM_MBUTTONUP);
                if (const HWND menu = driver::WaitForPopupMenu(started.processId)) {
                    startup.menuMs = MsSince(click);
                    driver::CloseMenu(menu);
                    result = startup;
                }
            }
        }
        driver::PostCommand(mainWindow, kExitCommand);
    }
    if (!driver::WaitForExit(started.process.Get())) driver::KillProcess(started.process.Get());
    return result;
}

}  // namespace

int RunStartupBench(const std::wstring& programPath) {
    std::optional<Startup> empty;
    for (const int entries : kSizes) {
        const std::optional<Startup> measured = MeasureStartup(programPath, entries);
        if (!measured) {
            std::fprintf(stderr, "startup: no measurement with %d history entries\n", entries);
            return 1;
        }
        if (entries == 0) empty = measured;
        std::printf("Start-up with %d history entries: clipboard guarded after %.0f ms (%.2fx of an empty history), "
                    "history read after %.0f ms\n",
                    entries, measured->guardMs, measured->guardMs / empty->guardMs, measured->loadedMs);
        if (entries >= kMenuEntries) {
            std::printf("History menu with %d items open after %.0f ms (%.2fx of a menu with one item)\n", kMenuEntries,
                        measured->menuMs, measured->menuMs / empty->menuMs);
        }
    }
    return 0;
}

}  // namespace veltrano::bench
