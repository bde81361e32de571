#include "replace_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "base/text_encoding.h"
#include "driver/program_folder.h"
#include "loaded_set.h"
#include "regex/large_stack.h"
#include "matching/replacement_definitions.h"
#include "number_format.h"

namespace veltrano::bench {
namespace {

using Clock = std::chrono::steady_clock;

std::map<std::string, double> ReadRgTimes(const std::wstring& path) {
    std::map<std::string, double> times;
    std::istringstream in(driver::ReadFileBytes(path));
    std::string name;
    double milliseconds = 0;
    while (in >> name >> milliseconds) times[name] = milliseconds;
    return times;
}

}  // namespace

int RunReplaceBench(const std::wstring& dataFolder, const std::wstring& rgResults) {
    const ReplacementDefinition definition = ParseDefinitionLine(kDateDefinition, DefinitionKind::Regex);
    const auto rg = ReadRgTimes(rgResults);
    std::puts("| Text | Veltrano (median of 3) | std::regex_replace | baseline ÷ Veltrano | ripgrep (median) | Veltrano ÷ ripgrep |");
    std::puts("|---|---:|---:|---:|---:|---:|");
    int wrong = 0;
    for (const char* name : {"1MiB-csv-nohit", "16MiB-csv-nohit"}) {
        const std::wstring text =
            Utf8ToWide(driver::ReadFileBytes(dataFolder + L"\\texts\\" + Utf8ToWide(name) + L".txt"));
        std::vector<double> times;
        std::wstring replaced;
        for (int run = 0; run < 3; ++run) {
            const auto start = Clock::now();
            replaced = RunOnLargeStack([&] {
                MatchBudget budget(std::chrono::minutes(1));
                return ApplyReplacement(text, definition, budget);
            });
            times.push_back(Milliseconds(Clock::now() - start));
        }
        std::sort(times.begin(), times.end());
        const double ours = times[1];
        // The plain way once, on 1 MiB only: 16 MiB would take minutes.
        std::string baseline = "not run (16× the 1 MiB time)";
        std::string speedup = "—";
        if (text.size() <= (1u << 20)) {
            const auto start = Clock::now();
            const std::wstring expected = std::regex_replace(text, definition.pattern, definition.replacement);
            const double plain = Milliseconds(Clock::now() - start);
            baseline = Time(plain) + (expected == replaced ? "" : " (WRONG RESULT)");
            wrong += expected != replaced;
            speedup = Ratio(plain / ours);
        }
        const auto found = rg.find(name);
        const std::string rgTime = found == rg.end() ? "not run" : Time(found->second);
        const std::string versusRg = found == rg.end() ? "—" : Ratio(ours / found->second);
        std::printf("| %s | %s | %s | %s | %s | %s |\n", name, Time(ours).c_str(), baseline.c_str(), speedup.c_str(),
                    rgTime.c_str(), versusRg.c_str());
    }
    return wrong == 0 ? 0 : 1;
}

}  // namespace veltrano::bench
