#include "latency.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
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
#include "floor_listener.h"
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

// One keyword set, its texts measured in turn against the floor and Veltrano with the history
// off and on.
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

// A listener under measurement: the floor or Veltrano in a program folder of its own.
class Listener {
public:
    static Listener Floor(const std::wstring& reported) {
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        Listener listener(driver::StartProgram(self, L"floor \"" + reported + L"\"", L""),
                          {.className = kFloorWindowClass, .caption = kFloorListeningCaption});
        listener.exit_ = [](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); };
        return listener;
    }

    static Listener Veltrano(const std::wstring& programPath, const LatencyRun& run, const std::wstring& settings) {
        driver::TemporaryProgramFolder folder = driver::TemporaryProgramFolder::Create();
        const std::wstring program = folder.CopyIn(programPath);
        const std::wstring user = UserName();
        driver::WriteUtf16File(folder.PathOf(user + L"_Veltrano.ini"), L"[Notify]\r\nNotifyMode=1\r\n" + settings);
        driver::WriteFileBytes(folder.PathOf(user + L"_wildcard_keywords.txt"), "\xEF\xBB\xBF" + WideToUtf8(run.wildcardLines));
        driver::WriteFileBytes(folder.PathOf(user + L"_regex_keywords.txt"), "\xEF\xBB\xBF" + WideToUtf8(run.regexLines));
        Listener listener(driver::StartProgram(program, L"", folder.Path()), {.className = kMainWindowClass});
        listener.folder_.emplace(std::move(folder));
        listener.exit_ = [](HWND window) { driver::PostCommand(window, kExitCommand); };
        return listener;
    }

    Listener(Listener&&) = default;
    ~Listener() {
        if (!started_.process) return;
        if (window_) exit_(window_);
        if (!driver::WaitForExit(started_.process.Get(), 120000)) driver::KillProcess(started_.process.Get());
    }

    bool Ready() const { return window_ != nullptr; }
    DWORD ProcessId() const { return started_.processId; }

private:
    // The floor is a console program, which WaitForInputIdle refuses: its caption says it listens.
    Listener(driver::StartedProgram started, driver::WindowQuery window) : started_(std::move(started)) {
        window.processId = started_.processId;
        const HWND found = driver::WaitForWindow(window);
        if (found && (window.caption || ::WaitForInputIdle(started_.process.Get(), 30000) == 0)) window_ = found;
    }

    driver::StartedProgram started_;
    HWND window_ = nullptr;
    std::function<void(HWND)> exit_;
    std::optional<driver::TemporaryProgramFolder> folder_;  // removed after the program ends
};

// The text of a run: its first letter `letter` places after "A", so consecutive copies differ.
std::wstring Variant(const std::wstring& original, int letter) {
    std::wstring text = original;
    text[0] = static_cast<wchar_t>(L'A' + letter);
    return text;
}

// From setting the clipboard to the warning box, for each text in turn; a copy not warned about
// is counted in `failures`.
std::vector<double> TimeCopies(const Listener& listener, const std::wstring& original, const std::vector<int>& letters,
                               const std::wstring& reported, int& failures) {
    std::vector<double> times;
    for (const int letter : letters) {
        const std::wstring text = Variant(original, letter);
        const auto start = Clock::now();
        driver::SetClipboardText(text);
        const HWND box = WaitForBox(listener.ProcessId());
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!box || driver::MessageBoxText(box).find(reported) == std::wstring::npos) {
            ++failures;
            std::fprintf(stderr, "latency: no warning for a text of %zu units\n", text.size());
            if (!box) continue;
        }
        times.push_back(ms);
        driver::PressButton(box, IDOK);
        driver::WaitForNoWindow({.className = driver::kDialogClass, .processId = listener.ProcessId()});
        ::Sleep(300);
    }
    return times;
}

double Median(std::vector<double> times) {
    if (times.empty()) return 0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The cells of one text: the floor, Veltrano with the history off, and with it on, first with
// texts new to it, then with texts it already holds.
struct LatencyCells {
    std::vector<double> floor, historyOff, historyOn, held;
};

int MeasureLatency(const std::wstring& programPath, const LatencyRun& run) {
    std::vector<std::wstring> originals;
    for (const TextCase& size : run.texts) originals.push_back(MakeText(size) + run.appended);
    std::vector<LatencyCells> cells(originals.size());
    std::vector<int> fresh(static_cast<size_t>(run.runs));
    for (int i = 0; i < run.runs; ++i) fresh[static_cast<size_t>(i)] = i;
    // The first two fresh texts again, alternating: each is held by now and differs from the copy before.
    std::vector<int> held(static_cast<size_t>(run.runs));
    for (int i = 0; i < run.runs; ++i) held[static_cast<size_t>(i)] = i % 2;

    int failures = 0;
    const auto started = [&](const Listener& listener) {
        if (!listener.Ready()) {
            std::fputs("latency: a listener did not start\n", stderr);
            ++failures;
        }
        return listener.Ready();
    };
    if (const Listener floor = Listener::Floor(run.reported); started(floor)) {
        for (size_t t = 0; t < originals.size(); ++t) {
            cells[t].floor = TimeCopies(floor, originals[t], fresh, run.reported, failures);
        }
    }
    const std::wstring historyOff = run.settings + L"[ClipboardHistory]\r\nUseClipboardHistory=false\r\n";
    if (const Listener veltrano = Listener::Veltrano(programPath, run, historyOff); started(veltrano)) {
        for (size_t t = 0; t < originals.size(); ++t) {
            cells[t].historyOff = TimeCopies(veltrano, originals[t], fresh, run.reported, failures);
        }
    }
    if (const Listener veltrano = Listener::Veltrano(programPath, run, run.settings); started(veltrano)) {
        for (size_t t = 0; t < originals.size(); ++t) {
            cells[t].historyOn = TimeCopies(veltrano, originals[t], fresh, run.reported, failures);
            cells[t].held = TimeCopies(veltrano, originals[t], held, run.reported, failures);
        }
    }
    for (size_t t = 0; t < originals.size(); ++t) {
        const LatencyCells& cell = cells[t];
        const double floor = Median(cell.floor);
        const auto ratio = [&](const std::vector<double>& times) { return floor > 0 ? Median(times) / floor : 0; };
        std::printf("Copy to warning box, %s text (%zu UTF-16 units, %s), medians of %d: floor %.0f ms; history off "
                    "%.0f ms (%.2fx); history on %.0f ms (%.2fx); history on, a text it holds %.0f ms (%.2fx, the "
                    "first %.0f ms)\n",
                    run.texts[t].name.substr(0, run.texts[t].name.rfind('-')).c_str(), originals[t].size(),
                    run.setName, run.runs, floor, Median(cell.historyOff), ratio(cell.historyOff),
                    Median(cell.historyOn), ratio(cell.historyOn), Median(cell.held), ratio(cell.held),
                    cell.held.empty() ? 0.0 : cell.held.front());
    }
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
    const LatencyRun k3{"K3 keywords",
                        L"",
                        sets[4].regexLines,
                        L"TK4829173",
                        {{"1MiB-csv-hit", 1u << 20, Shape::Csv, true}, {"16MiB-csv-hit", 16u << 20, Shape::Csv, true}},
                        5};
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
