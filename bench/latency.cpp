#include "latency.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "bench_data.h"
#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "storage/text_encoding.h"

namespace veltrano::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kMainWindowClass[] = L"VeltranoClass";
constexpr wchar_t kDetectionCaption[] = L"クリップボード検出 - Veltrano";
constexpr WORD kExitCommand = 40001;
constexpr int kRuns = 7;

std::wstring UserName() {
    wchar_t buffer[257];
    DWORD size = static_cast<DWORD>(std::size(buffer));
    if (!::GetUserNameW(buffer, &size)) throw std::runtime_error("GetUserNameW failed");
    return buffer;
}

// Polls every millisecond: the driver's own 20 ms poll would dominate a 1 KiB measurement.
HWND WaitForBox(DWORD processId) {
    const driver::WindowQuery query{
        .className = driver::kDialogClass, .caption = kDetectionCaption, .processId = processId, .visibleOnly = true};
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < deadline) {
        const auto windows = driver::FindTopLevelWindows(query);
        if (!windows.empty()) return windows.front().handle;
        ::Sleep(1);
    }
    return nullptr;
}

}  // namespace

int RunLatency(const std::wstring& programPath) {
    const auto folder = driver::TemporaryProgramFolder::Create();
    const std::wstring program = folder.CopyIn(programPath);
    const std::wstring user = UserName();
    driver::WriteUtf16File(folder.PathOf(user + L"_Veltrano.ini"), L"[Notify]\r\nNotifyMode=1\r\n");
    // K1, both files: the wildcard list reports its last keyword, "literal\?.log".
    const KeywordSet k1wildcards = KeywordSets()[0];
    const KeywordSet k1regexes = KeywordSets()[1];
    driver::WriteFileBytes(folder.PathOf(user + L"_wildcard_keywords.txt"),
                           "\xEF\xBB\xBF" + WideToUtf8(k1wildcards.wildcardLines));
    driver::WriteFileBytes(folder.PathOf(user + L"_regex_keywords.txt"), "\xEF\xBB\xBF" + WideToUtf8(k1regexes.regexLines));

    driver::StartedProgram started = driver::StartProgram(program, L"", folder.Path());
    const HWND mainWindow = driver::WaitForWindow({.className = kMainWindowClass, .processId = started.processId});
    if (!mainWindow || ::WaitForInputIdle(started.process.get(), 30000) != 0) {
        driver::KillProcess(started.process.get());
        std::fputs("latency: Veltrano did not start\n", stderr);
        return 1;
    }
    int failures = 0;
    for (const TextCase& size : {TextCase{"1KiB-lines-hit", 1u << 10, TextCase::Shape::Lines, true},
                                 TextCase{"1MiB-lines-hit", 1u << 20, TextCase::Shape::Lines, true}}) {
        const std::wstring prose = MakeText(size);
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            // A different first word each time, so no run is a repeat of the one before.
            std::wstring text = prose;
            text[0] = static_cast<wchar_t>(L'A' + run);
            const auto start = Clock::now();
            driver::SetClipboardText(text);
            const HWND box = WaitForBox(started.processId);
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            if (!box || driver::MessageBoxText(box).find(L"literal\\?.log") == std::wstring::npos) {
                ++failures;
                std::fprintf(stderr, "latency: no warning for %s\n", size.name.c_str());
                if (!box) continue;
            }
            times.push_back(ms);
            driver::PressButton(box, IDOK);
            driver::WaitForNoWindow({.className = driver::kDialogClass, .processId = started.processId});
            ::Sleep(300);
        }
        std::sort(times.begin(), times.end());
        if (!times.empty()) {
            std::printf("End-to-end latency, %s text (%zu UTF-16 units, K1 keywords): median %.0f ms, min %.0f ms, "
                        "max %.0f ms over %zu runs\n",
                        size.name.substr(0, size.name.find('-')).c_str(), size.units, times[times.size() / 2],
                        times.front(), times.back(), times.size());
        }
    }
    driver::PostCommand(mainWindow, kExitCommand);
    if (!driver::WaitForExit(started.process.get())) driver::KillProcess(started.process.get());
    return failures == 0 ? 0 : 1;
}

}  // namespace veltrano::bench
