#include "latency.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "base/text_encoding.h"
#include "bench_data.h"
#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "base/unique_any.h"
#include "process_memory.h"
#include "veltrano_program.h"

namespace veltrano::bench {
namespace {

using Clock = std::chrono::steady_clock;


// Polls every millisecond: the driver's own 20 ms poll would dominate a 1 KiB measurement.
HWND WaitForBox(DWORD processId, std::chrono::seconds patience = std::chrono::seconds(30)) {
    const driver::WindowQuery query{
        .className = driver::kDialogClass, .caption = kDetectionCaption, .processId = processId, .visibleOnly = true};
    const auto deadline = Clock::now() + patience;
    while (Clock::now() < deadline) {
        const auto windows = driver::FindTopLevelWindows(query);
        if (!windows.empty()) return windows.front().handle;
        ::Sleep(1);
    }
    return nullptr;
}

// One program with one keyword set, its texts measured in turn.
struct LatencyRun {
    const char* setName;
    std::wstring wildcardLines;
    std::wstring regexLines;
    std::wstring reported;  // what the warning must name
    std::vector<TextCase> texts;
    int runs;
    std::wstring settings{};  // beyond NotifyMode=1
    std::wstring appended{};  // to each text
};

int MeasureLatency(const std::wstring& programPath, const LatencyRun& run) {
    const auto folder = driver::TemporaryProgramFolder::Create();
    const std::wstring program = folder.CopyIn(programPath);
    const std::wstring user = UserName();
    driver::WriteUtf16File(folder.PathOf(user + L"_Veltrano.ini"), L"[Notify]\r\nNotifyMode=1\r\n" + run.settings);
    driver::WriteFileBytes(folder.PathOf(user + L"_wildcard_keywords.txt"), "\xEF\xBB\xBF" + WideToUtf8(run.wildcardLines));
    driver::WriteFileBytes(folder.PathOf(user + L"_regex_keywords.txt"), "\xEF\xBB\xBF" + WideToUtf8(run.regexLines));

    driver::StartedProgram started = driver::StartProgram(program, L"", folder.Path());
    const HWND mainWindow = driver::WaitForWindow({.className = kMainWindowClass, .processId = started.processId});
    if (!mainWindow || ::WaitForInputIdle(started.process.Get(), 30000) != 0) {
        driver::KillProcess(started.process.Get());
        std::fputs("latency: Veltrano did not start\n", stderr);
        return 1;
    }
    int failures = 0;
    for (const TextCase& size : run.texts) {
        const std::wstring original = MakeText(size) + run.appended;
        std::vector<double> times;
        for (int attempt = 0; attempt < run.runs; ++attempt) {
            // A different first letter each time, so no run is a repeat of the one before.
            std::wstring text = original;
            text[0] = static_cast<wchar_t>(L'A' + attempt);
            const auto start = Clock::now();
            driver::SetClipboardText(text);
            const HWND box = WaitForBox(started.processId);
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            if (!box || driver::MessageBoxText(box).find(run.reported) == std::wstring::npos) {
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
            std::printf("End-to-end latency, %s text (%zu UTF-16 units, %s): median %.0f ms, min %.0f ms, "
                        "max %.0f ms over %zu runs\n",
                        size.name.substr(0, size.name.rfind('-')).c_str(), original.size(), run.setName,
                        times[times.size() / 2], times.front(), times.back(), times.size());
        }
    }
    driver::PostCommand(mainWindow, kExitCommand);
    if (!driver::WaitForExit(started.process.Get())) driver::KillProcess(started.process.Get());
    return failures;
}

struct GiantCopy {
    double answeredMs = 0;    // from the giant copy until the small copy's warning shows
    double peakAboveIdleMiB = 0;
};

// A giant copy without a keyword, one second later a small one with a keyword: how long until
// the small one is answered, and the program's peak resident memory above its idle size.
std::optional<GiantCopy> MeasureGiantCopy(const std::wstring& programPath, const std::wstring& settings,
                                          const std::wstring& giant) {
    const auto folder = driver::TemporaryProgramFolder::Create();
    const std::wstring program = folder.CopyIn(programPath);
    const std::wstring user = UserName();
    const std::vector<KeywordSet> sets = KeywordSets();
    driver::WriteUtf16File(folder.PathOf(user + L"_Veltrano.ini"), L"[Notify]\r\nNotifyMode=1\r\n" + settings);
    driver::WriteFileBytes(folder.PathOf(user + L"_wildcard_keywords.txt"), "\xEF\xBB\xBF" + WideToUtf8(sets[0].wildcardLines));
    driver::WriteFileBytes(folder.PathOf(user + L"_regex_keywords.txt"), "\xEF\xBB\xBF" + WideToUtf8(sets[4].regexLines));

    driver::StartedProgram started = driver::StartProgram(program, L"", folder.Path());
    const HWND mainWindow = driver::WaitForWindow({.className = kMainWindowClass, .processId = started.processId});
    std::optional<GiantCopy> result;
    if (mainWindow && ::WaitForInputIdle(started.process.Get(), 30000) == 0) {
        const UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, started.processId));
        ::Sleep(1000);
        const SIZE_T idle = MemoryCounters(process.Get()).WorkingSetSize;
        const auto start = Clock::now();
        driver::SetClipboardText(giant);
        std::this_thread::sleep_until(start + std::chrono::seconds(1));
        driver::SetClipboardText(L"password 1");
        const HWND box = WaitForBox(started.processId, std::chrono::seconds(120));
        const double answeredMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const SIZE_T peak = MemoryCounters(process.Get()).PeakWorkingSetSize;
        if (box) {
            result = GiantCopy{answeredMs, MiB(peak - idle)};
            driver::PressButton(box, IDOK);
        }
        driver::PostCommand(mainWindow, kExitCommand);
    }
    if (!driver::WaitForExit(started.process.Get(), 120000)) driver::KillProcess(started.process.Get());
    return result;
}

}  // namespace

int RunGiantCopyLatency(const std::wstring& programPath) {
    const std::wstring giant = driver::MakeSizedText(32u << 20);  // 64 MiB as UTF-16
    const double giantMiB = static_cast<double>(giant.size() * sizeof(wchar_t)) / (1 << 20);
    const std::optional<GiantCopy> bare = MeasureGiantCopy(
        programPath, L"[ClipboardHistory]\r\nUseClipboardHistory=false\r\n", giant);
    const std::optional<GiantCopy> full = MeasureGiantCopy(
        programPath, L"[ClipboardTextWindow]\r\nUseClipboardTextWindow=true\r\n", giant);
    if (!bare || !full) {
        std::fputs("latency: no warning after a giant copy\n", stderr);
        return 1;
    }
    std::printf("Giant copy (%.0f MiB as UTF-16), a keyword copy 1 s later: answered %.0f ms after the giant copy with "
                "history and text window on (%.2fx of %.0f ms with both off); peak memory %.0f MiB above idle "
                "(%.2fx the text), %.0f MiB with both off (%.2fx)\n",
                giantMiB, full->answeredMs, full->answeredMs / bare->answeredMs, bare->answeredMs,
                full->peakAboveIdleMiB, full->peakAboveIdleMiB / giantMiB, bare->peakAboveIdleMiB,
                bare->peakAboveIdleMiB / giantMiB);
    return 0;
}

int RunLatency(const std::wstring& programPath) {
    const std::vector<KeywordSet> sets = KeywordSets();
    using Shape = TextCase::Shape;
    // K1 in both files: the wildcard list reports its last keyword, "literal\?.log".
    const LatencyRun k1{"K1 keywords",
                        sets[0].wildcardLines,
                        sets[1].regexLines,
                        L"literal\\?.log",
                        {{"1KiB-lines-hit", 1u << 10, Shape::Lines, true}, {"1MiB-lines-hit", 1u << 20, Shape::Lines, true}},
                        7};
    // K3 over a customer list: only its last regex matches, near the end.
    const LatencyRun k3{"K3 keywords", L"", sets[4].regexLines, L"TK4829173", {{"16MiB-csv-hit", 16u << 20, Shape::Csv, true}}, 3};
    // The built-in detectors alone, a card at the end of the customer list.
    const LatencyRun detectors{"three detectors, no keywords",
                               L"",
                               L"",
                               L"支払カード番号",
                               {{"16MiB-csv-nohit", 16u << 20, Shape::Csv, false}},
                               3,
                               L"[Detect]\r\nDetectPaymentCard=true\r\nDetectMyNumber=true\r\nDetectCorporateNumber=true\r\n",
                               L" 4111 1111 1111 1111"};
    const int failures =
        MeasureLatency(programPath, k1) + MeasureLatency(programPath, k3) + MeasureLatency(programPath, detectors);
    return failures == 0 ? 0 : 1;
}

}  // namespace veltrano::bench
