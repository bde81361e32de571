#include "startup_bench.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

#include "base/text_encoding.h"
#include "driver/clipboard_access.h"
#include "driver/history_files.h"
#include "driver/message_boxes.h"
#include "driver/popup_menus.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "process_memory.h"
#include "veltrano_program.h"

namespace veltrano::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSizes[] = {0, 1000, 9999};
constexpr int kMenuEntries = 3000;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// The probes sent after the first one that was seen are warned about too: close every box.
void CloseEveryBox(const driver::WindowQuery& query) {
    do {
        for (const auto& box : driver::FindTopLevelWindows(query)) driver::PressButton(box.handle, IDOK);
    } while (driver::WaitForWindow(query, 1000));
}

struct Startup {
    double guardMs = 0;   // process start → a copied keyword text is warned about
    double loadedMs = 0;  // process start → the copies made while loading are recorded
    double menuMs = 0;    // tray click → the history menu is on screen
};

// One start with `entries` old entries and `settings` beyond the usual. The probe copies a keyword
// text every 20 ms until the warning comes; the history is loaded once those copies reach the folder.
std::optional<Startup> MeasureStartup(const std::wstring& programPath, int entries, const std::wstring& settings = L"") {
    const auto folder = driver::TemporaryProgramFolder::Create();
    const std::wstring program = folder.CopyIn(programPath);
    const std::wstring user = UserName();
    const std::wstring history = folder.PathOf(user + L"_history");
    driver::WriteUtf16File(folder.PathOf(user + L"_Veltrano.ini"),
                           L"[Notify]\r\nNotifyMode=1\r\n[ClipboardHistory]\r\nClipboardHistoryMaxCount=9999\r\n" + settings);
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
            // The warnings stay on screen meanwhile: they are shown by threads of their own.
            const bool loaded =
                driver::PollUntil(120000, [&] { return driver::CountHistoryFiles(history).recorded > 0; });
            startup.loadedMs = MsSince(start);
            CloseEveryBox(boxQuery);
            if (loaded) {
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

double PrivateMiB(HANDLE process) { return MiB(MemoryCounters(process).PagefileUsage); }

struct MemoryGrowth {
    double afterOne = 0;   // MiB more than before the first copy
    double afterFive = 0;
};

// The program's private memory after one and after five different 16 MiB texts entered its history.
std::optional<MemoryGrowth> MeasureHistoryMemory(const std::wstring& programPath) {
    constexpr int kCopies = 5;
    constexpr size_t kUnits = 8u << 20;  // 16 MiB as UTF-16
    const auto folder = driver::TemporaryProgramFolder::Create();
    const std::wstring program = folder.CopyIn(programPath);
    const std::wstring history = folder.PathOf(UserName() + L"_history");
    driver::StartedProgram started = driver::StartProgram(program, L"", folder.Path());
    const HWND mainWindow = driver::WaitForWindow({.className = kMainWindowClass, .processId = started.processId});
    std::optional<MemoryGrowth> growth;
    if (mainWindow && ::WaitForInputIdle(started.process.Get(), 30000) == 0) {
        const UniqueHandle process(
            ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, started.processId));
        ::Sleep(1000);
        const double before = PrivateMiB(process.Get());
        MemoryGrowth measured;
        bool recorded = true;
        for (int copy = 0; copy < kCopies && recorded; ++copy) {
            driver::SetClipboardText(std::wstring(kUnits, static_cast<wchar_t>(L'a' + copy)));
            const size_t expected = static_cast<size_t>(copy + 1);
            recorded = driver::PollUntil(120000, [&] { return driver::CountHistoryFiles(history).all == expected; });
            ::Sleep(1000);
            (copy == 0 ? measured.afterOne : measured.afterFive) = PrivateMiB(process.Get()) - before;
        }
        if (recorded) growth = measured;
        driver::PostCommand(mainWindow, kExitCommand);
    }
    if (!driver::WaitForExit(started.process.Get())) driver::KillProcess(started.process.Get());
    return growth;
}

constexpr wchar_t kIdleWindowClass[] = L"VeltranoBenchIdle";
constexpr DWORD kIdleMs = 60000;

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](FILETIME time) { return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

struct IdleCpu {
    double programMs = 0;   // CPU time the idle program used
    double baselineMs = 0;  // the same for a program that only waits for messages
};

// The program idle beside the baseline, both after a few seconds to settle, for kIdleMs.
std::optional<IdleCpu> MeasureIdleCpu(const std::wstring& programPath) {
    const auto folder = driver::TemporaryProgramFolder::Create();
    const std::wstring program = folder.CopyIn(programPath);
    driver::WriteFileBytes(folder.PathOf(UserName() + L"_wildcard_keywords.txt"), "\xEF\xBB\xBF*secret*\n");
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    driver::StartedProgram started = driver::StartProgram(program, L"", folder.Path());
    driver::StartedProgram baseline = driver::StartProgram(self, L"idle", folder.Path());
    const HWND mainWindow = driver::WaitForWindow({.className = kMainWindowClass, .processId = started.processId});
    const HWND idleWindow = driver::WaitForWindow({.className = kIdleWindowClass, .processId = baseline.processId});
    std::optional<IdleCpu> result;
    if (mainWindow && idleWindow && ::WaitForInputIdle(started.process.Get(), 30000) == 0) {
        ::Sleep(3000);
        const double program0 = CpuMs(started.process.Get());
        const double baseline0 = CpuMs(baseline.process.Get());
        ::Sleep(kIdleMs);
        result = IdleCpu{CpuMs(started.process.Get()) - program0, CpuMs(baseline.process.Get()) - baseline0};
    }
    if (mainWindow) driver::PostCommand(mainWindow, kExitCommand);
    if (idleWindow) ::PostMessageW(idleWindow, WM_CLOSE, 0, 0);
    for (HANDLE process : {started.process.Get(), baseline.process.Get()}) {
        if (!driver::WaitForExit(process)) driver::KillProcess(process);
    }
    return result;
}

LRESULT CALLBACK IdleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int RunIdleWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = IdleWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kIdleWindowClass;
    if (!::RegisterClassExW(&windowClass)) return 1;
    if (!::CreateWindowExW(0, kIdleWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           windowClass.hInstance, nullptr)) {
        return 1;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}

int RunStartupBench(const std::wstring& programPath, const std::wstring& silentShareProgram) {
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
    // The organisation's lists where they cannot be had: read by a worker, never waited for.
    struct Unreachable {
        const char* where;
        std::wstring program;
        std::wstring folder;
    };
    std::vector<Unreachable> unreachable = {{"on a drive that does not exist", programPath, L"Q:\\veltrano"}};
    if (!silentShareProgram.empty()) {
        unreachable.push_back({"on a share whose reads never return", silentShareProgram, L"\\\\fileserver\\veltrano"});
    }
    for (const Unreachable& lists : unreachable) {
        const std::optional<Startup> measured =
            MeasureStartup(lists.program, 0, L"[Keyword]\r\nOrganizationKeywordFolder=" + lists.folder + L"\r\n");
        if (!measured) {
            std::fprintf(stderr, "startup: no measurement with the organisation's lists %s\n", lists.where);
            return 1;
        }
        std::printf("Start-up with the organisation's lists %s: clipboard guarded after %.0f ms (%.2fx of none)\n",
                    lists.where, measured->guardMs, measured->guardMs / empty->guardMs);
    }
    const std::optional<MemoryGrowth> growth = MeasureHistoryMemory(programPath);
    if (!growth) {
        std::fputs("startup: no memory measurement\n", stderr);
        return 1;
    }
    std::printf("Private memory after one 16 MiB text entered the history: %+.1f MiB; after five different ones "
                "(80 MiB as UTF-16): %+.1f MiB\n",
                growth->afterOne, growth->afterFive);
    const std::optional<IdleCpu> idle = MeasureIdleCpu(programPath);
    if (!idle) {
        std::fputs("startup: no idle measurement\n", stderr);
        return 1;
    }
    std::printf("Idle for %.0f s after start-up, the clipboard checks every 2 s included: %.0f ms of CPU time "
                "(%.3f%% of one core); a program that only waits for messages used %.0f ms",
                kIdleMs / 1000.0, idle->programMs, idle->programMs / kIdleMs * 100, idle->baselineMs);
    if (idle->baselineMs > 0) {
        std::printf(" (%.2fx)\n", idle->programMs / idle->baselineMs);
    } else {
        std::puts(" (no ratio: the process clock counted nothing for it)");
    }
    return 0;
}

}  // namespace veltrano::bench
