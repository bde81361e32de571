#include "list_check_bench.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "loaded_set.h"
#include "matching/keyword_search.h"
#include "regex/large_stack.h"
#include "matching/replacement_definitions.h"

namespace veltrano::bench {
namespace {

constexpr int kRuns = 7;
constexpr int kCopiesPerRun = 300;

// Mean microseconds per copy over one run of kCopiesPerRun copies.
template <typename Copy>
double MicrosecondsPerCopy(const Copy& copy) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCopiesPerRun; ++i) copy();
    return Milliseconds(std::chrono::steady_clock::now() - start) * 1000 / kCopiesPerRun;
}

}  // namespace

int RunListCheckBench() {
    LoadedSet user(K2Lists());
    ReplacementDefinitions definitions(user.settings, user.paths, user.notifier, user.log);
    definitions.Reload();
    const std::wstring text = MakeText({"1KiB-lines-nohit", 1024, TextCase::Shape::Lines, false});
    const auto search = [&] { return RunOnLargeStack([&] { return FindKeyword(user.lists.Set(), text, kSearchTimeBudget); }); };

    std::vector<double> alone;
    std::vector<double> checked;
    bool found = false;
    for (int run = 0; run < kRuns; ++run) {  // interleaved, so drift touches both alike
        alone.push_back(MicrosecondsPerCopy([&] { found |= search().hit.found; }));
        checked.push_back(MicrosecondsPerCopy([&] {
            user.lists.ReloadChanged();
            definitions.ReloadChanged();
            found |= search().hit.found;
        }));
    }
    if (found || !user.notifier.messages.empty()) {
        std::fputs("listcheck: the copy was not searched as a text without hits\n", stderr);
        return 1;
    }
    std::printf("1 KiB copy with the K2 lists: searched in %.1f us; with the check of the four list files first, "
                "%.1f us (%.2fx), median of %d runs of %d copies\n",
                Median(alone), Median(checked), Median(checked) / Median(alone), kRuns, kCopiesPerRun);
    return 0;
}

}  // namespace veltrano::bench
