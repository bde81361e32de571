#include "cells.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "base/local_clock.h"
#include "base/text_encoding.h"
#include "bench_data.h"
#include "loaded_set.h"
#include "process_memory.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "log/log_writer.h"
#include "matching/keyword_lists.h"
#include "matching/keyword_search.h"
#include "regex/large_stack.h"
#include "number_format.h"
#include "settings/settings.h"
#include "storage/data_paths.h"

namespace veltrano::bench {
namespace {

using Clock = std::chrono::steady_clock;

// A repeated cell stops repeating after this much time; one long run is already a good sample.
constexpr double kRepeatSecondsOurs = 10;
constexpr double kRepeatSecondsBaseline = 2;
constexpr int kMaxRuns = 5;

struct CellResult {
    enum class State { Done, Crashed, OverCap, NotRun } state = State::NotRun;
    double milliseconds = 0;
    int runs = 0;
    double peakMiB = -1;  // the child's peak working set; < 0 when unknown
    size_t stopped = 0;
    bool wrong = false;
    DWORD exitCode = 0;
};

void WriteResult(const std::wstring& path, const CellResult& r) {
    std::ostringstream out;
    out << r.milliseconds << ' ' << r.runs << ' ' << r.peakMiB << ' ' << r.stopped << ' ' << (r.wrong ? 1 : 0);
    driver::WriteFileBytes(path, out.str());
}

bool ExpectHit(const std::wstring& textPath) { return textPath.ends_with(L"-hit.txt"); }

}  // namespace

int RunCell(const std::wstring& mode, int setIndex, const std::wstring& textPath, const std::wstring& resultPath) {
    const KeywordSet set = KeywordSets().at(static_cast<size_t>(setIndex));
    LoadedSet loaded(set);
    const std::wstring text = Utf8ToWide(driver::ReadFileBytes(textPath));
    const bool expectHit = ExpectHit(textPath);
    const bool ours = mode == L"ours";
    const double repeatSeconds = ours ? kRepeatSecondsOurs : kRepeatSecondsBaseline;

    std::vector<double> times;
    CellResult result;
    double total = 0;
    while (times.size() < kMaxRuns && (times.empty() || total / 1000 < repeatSeconds)) {
        std::optional<std::wstring> found;
        const auto start = Clock::now();
        if (ours) {
            // What KeywordSearch::SearchKeywords does before it notifies.
            const KeywordSearchResult searched =
                RunOnLargeStack([&] { return FindKeyword(loaded.lists.Set(), text, kSearchTimeBudget); });
            if (searched.hit.found) found = searched.hit.keywordText;
            result.stopped = searched.stoppedCount;
        } else {
            // The plain way: each keyword's regex over the whole text on this thread, in file order.
            for (KeywordKind kind : {KeywordKind::Wildcard, KeywordKind::Regex}) {
                for (const KeywordEntry& entry : loaded.lists.List(kind)) {
                    if (!found && std::regex_search(text.begin(), text.end(), entry.pattern)) found = entry.text;
                }
            }
        }
        times.push_back(Milliseconds(Clock::now() - start));
        total += times.back();
        result.wrong = expectHit ? found != set.expectedHit : found.has_value();
    }
    result.milliseconds = Median(times);
    result.runs = static_cast<int>(times.size());
    result.peakMiB = MiB(MemoryCounters().PeakWorkingSetSize);
    WriteResult(resultPath, result);
    return 0;
}

namespace {

struct RgResult {
    double milliseconds;
    int exitCode;
};

std::map<std::pair<std::string, int>, RgResult> ReadRgResults(const std::wstring& path) {
    std::map<std::pair<std::string, int>, RgResult> results;
    std::istringstream in(driver::ReadFileBytes(path));
    std::string name;
    int set = 0;
    RgResult r{};
    while (in >> name >> set >> r.milliseconds >> r.exitCode) results[{name, set}] = r;
    return results;
}

std::wstring SelfPath() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    return std::wstring(buffer, n);
}

CellResult RunChild(const std::wstring& mode, int set, const std::wstring& textPath, const std::wstring& resultPath,
                    double capSeconds) {
    ::DeleteFileW(resultPath.c_str());
    driver::StartedProgram child = driver::StartProgram(
        SelfPath(), L"cell " + mode + L" " + std::to_wstring(set) + L" \"" + textPath + L"\" \"" + resultPath + L"\"",
        L"");
    CellResult result;
    const std::optional<DWORD> code = driver::WaitForExit(child.process.Get(), static_cast<DWORD>(capSeconds * 1000));
    if (!code) {
        driver::KillProcess(child.process.Get());
        result.state = CellResult::State::OverCap;
        return result;
    }
    result.exitCode = *code;
    if (*code != 0 || !driver::FileExists(resultPath)) {
        result.state = CellResult::State::Crashed;
        return result;
    }
    std::istringstream in(driver::ReadFileBytes(resultPath));
    int wrong = 0;
    in >> result.milliseconds >> result.runs >> result.peakMiB >> result.stopped >> wrong;
    result.wrong = wrong != 0;
    result.state = CellResult::State::Done;
    return result;
}

std::string Describe(const CellResult& r, double capSeconds) {
    switch (r.state) {
    case CellResult::State::OverCap: return "> " + Format("%.0f", capSeconds) + " s (cap)";
    case CellResult::State::NotRun: return "> " + Format("%.0f", capSeconds) + " s (cap, not run†)";
    case CellResult::State::Crashed:
        // Wine ends a process whose stack overflowed without handing 0xC00000FD to the parent.
        return r.exitCode == 0xC00000FD ? "crash (stack overflow)"
                                        : "crash (exit code " + std::to_string(r.exitCode) + ", no result)";
    case CellResult::State::Done: break;
    }
    std::string text = Time(r.milliseconds);
    if (r.stopped) text += ", " + std::to_string(r.stopped) + " stopped";
    if (r.wrong) text += ", WRONG RESULT";
    return text;
}

// The shape of a text without its size: "lines-hit", "one-line-nohit".
std::string Shape(const std::string& name) { return name.substr(name.find('-') + 1); }

}  // namespace

int RunTable(const std::wstring& dataFolder, const std::wstring& rgResults, double oursCapSeconds,
             double baselineCapSeconds, const std::wstring& onlySets) {
    const std::vector<KeywordSet> sets = KeywordSets();
    const auto rg = ReadRgResults(rgResults);
    const std::wstring resultPath = dataFolder + L"\\cell-result.txt";
    std::map<std::pair<std::string, int>, bool> baselineOverCap;  // by shape and set
    std::ostringstream table;
    table << "| Text | Keyword set | Veltrano (median) | Peak WS (process) | std::regex baseline | baseline ÷ Veltrano "
             "| ripgrep (median) | Veltrano ÷ ripgrep |\n";
    table << "|---|---|---:|---:|---:|---:|---:|---:|\n";
    bool anyWrong = false;
    for (const TextCase& text : TextCases()) {
        const std::wstring textPath = dataFolder + L"\\texts\\" + Utf8ToWide(text.name) + L".txt";
        for (int s = 0; s < static_cast<int>(sets.size()); ++s) {
            if (!onlySets.empty() && onlySets.find(wchar_t(L'0' + s)) == std::wstring::npos) continue;
            const CellResult ours = RunChild(L"ours", s, textPath, resultPath, oursCapSeconds);
            // A baseline over the cap on 1 MiB is over it on 16 MiB of the same shape too.
            CellResult baseline;
            const std::pair<std::string, int> shapeKey{Shape(text.name), s};
            if (!(text.units > (1u << 20) && baselineOverCap[shapeKey])) {
                baseline = RunChild(L"baseline", s, textPath, resultPath, baselineCapSeconds);
                if (baseline.state == CellResult::State::OverCap) baselineOverCap[shapeKey] = true;
            }
            anyWrong = anyWrong || ours.wrong || baseline.wrong;

            // A search that stopped keywords did less work than the others: no ratio.
            const bool comparable = ours.state == CellResult::State::Done && ours.stopped == 0;
            std::string speedup = ours.stopped ? "n/a (stopped)" : "—";
            if (comparable && ours.milliseconds > 0) {
                if (baseline.state == CellResult::State::Done) speedup = Ratio(baseline.milliseconds / ours.milliseconds);
                if (baseline.state == CellResult::State::OverCap || baseline.state == CellResult::State::NotRun) {
                    speedup = "> " + Ratio(baselineCapSeconds * 1000 / ours.milliseconds);
                }
            }
            std::string rgText = "not run";
            std::string versusRg = "—";
            if (const auto found = rg.find({text.name, s}); found != rg.end()) {
                const RgResult& r = found->second;
                const bool rgHit = r.exitCode == 0;
                rgText = Time(r.milliseconds) + (rgHit == text.hit ? "" : " (WRONG RESULT)");
                if (comparable) versusRg = Ratio(ours.milliseconds / r.milliseconds);
                if (ours.stopped) versusRg = "n/a (stopped)";
            }
            const std::string peak = ours.peakMiB >= 0 ? Format("%.1f MiB", ours.peakMiB) : "—";
            table << "| " << text.name << " | " << WideToUtf8(sets[s].name) << " | " << Describe(ours, oursCapSeconds)
                  << " | " << peak << " | " << Describe(baseline, baselineCapSeconds) << " | " << speedup << " | "
                  << rgText << " | " << versusRg << " |\n";
            std::fprintf(stderr, "%s / %s: %s, baseline %s\n", text.name.c_str(), WideToUtf8(sets[s].name).c_str(),
                         Describe(ours, oursCapSeconds).c_str(), Describe(baseline, baselineCapSeconds).c_str());
        }
    }
    std::fputs(table.str().c_str(), stdout);
    return anyWrong ? 1 : 0;
}

}  // namespace veltrano::bench
