#pragma once
// What the search benchmarks share: a keyword set loaded as the program loads it, and timing.
#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/local_clock.h"
#include "base/notifier.h"
#include "base/text_encoding.h"
#include "bench_data.h"
#include "driver/program_folder.h"
#include "log/log_writer.h"
#include "matching/keyword_lists.h"
#include "settings/settings.h"
#include "storage/data_paths.h"

namespace veltrano::bench {

class SilentNotifier final : public Notifier {
public:
    void Notify(const std::wstring& body, const std::wstring&, NotifyKind) override { messages.push_back(body); }
    std::vector<std::wstring> messages;

protected:
    void ShowFallbackBox() noexcept override {}
};

inline double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The keyword files of one set in a throw-away program folder, loaded as the program loads them.
struct LoadedSet {
    driver::TemporaryProgramFolder folder = driver::TemporaryProgramFolder::Create();
    DataPaths paths{folder.Path(), L"bench"};
    Settings settings{paths.SettingsFile()};
    SystemLocalClock clock;
    LogWriter log{settings, paths, clock};
    SilentNotifier notifier;
    KeywordLists lists{settings, paths, notifier, log};

    explicit LoadedSet(const KeywordSet& set) {
        const std::string bom = "\xEF\xBB\xBF";
        driver::WriteFileBytes(lists.KeywordFilePath(KeywordKind::Wildcard, false), bom + WideToUtf8(set.wildcardLines));
        driver::WriteFileBytes(lists.KeywordFilePath(KeywordKind::Regex, false), bom + WideToUtf8(set.regexLines));
        lists.Reload();
        if (!notifier.messages.empty()) throw std::runtime_error("the keyword files did not load");
    }
};

}  // namespace veltrano::bench
