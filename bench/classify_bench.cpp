#include "classify_bench.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "loaded_set.h"
#include "matching/keyword_search.h"
#include "regex/large_stack.h"
#include "number_format.h"

namespace veltrano::bench {
namespace {

constexpr int kKeywords = 200;
constexpr int kRuns = 3;

// 200 distinct literal-free regexes of the common classes; each needs a digit or an ASCII
// letter, so none matches the CJK texts and every search reads the whole text. With "[i]" the
// ranges fold, and their characters are decided by std::wregex.
KeywordSet ClassKeywords(bool ignoreCase) {
    static constexpr const wchar_t* kLeading[] = {L"[一-龯]", L"[ぁ-ん]", L"\\w", L"[^\\s]", L"[ァ-ヶ]"};
    static constexpr const wchar_t* kRequired[] = {L"\\d", L"[A-Z]", L"[0-9A-F]", L"[a-z]"};
    KeywordSet set;
    for (int i = 0; i < kKeywords; ++i) {
        const int leading = i % 5;
        const int required = (i / 5) % 4;
        const int count = 2 + i / 20;  // 2 to 11: every keyword differs
        set.regexLines += std::wstring(ignoreCase ? L"[i]" : L"") + kLeading[leading] + L"{1," + std::to_wstring(count) + L"}" +
                          kRequired[required] + L"{" + std::to_wstring(count) + L"}\n";
    }
    return set;
}

// Random characters of the common CJK block (about 20,900 distinct), or of its first `alphabet`.
std::wstring CjkText(size_t units, wchar_t alphabet) {
    std::mt19937 random(4242);
    std::wstring text(units, L'\0');
    for (wchar_t& c : text) c = static_cast<wchar_t>(0x4E00 + random() % alphabet);
    return text;
}

struct Outcome {
    double milliseconds;
    size_t stopped;
    bool found;
};

// The first search after the lists are loaded, as when the copy arrives: a fresh load each run.
Outcome Search(const KeywordSet& set, const std::wstring& text) {
    std::vector<double> times;
    Outcome outcome{};
    for (int run = 0; run < kRuns; ++run) {
        LoadedSet loaded(set);
        const auto start = std::chrono::steady_clock::now();
        const KeywordSearchResult result =
            RunOnLargeStack([&] { return FindKeyword(loaded.lists.Set(), text, kSearchTimeBudget); });
        times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        outcome.stopped = result.stoppedCount;
        outcome.found = result.hit.found;
    }
    outcome.milliseconds = Median(times);
    return outcome;
}

std::string Describe(const Outcome& outcome) {
    std::string text = Time(outcome.milliseconds);
    if (outcome.stopped) text += ", " + std::to_string(outcome.stopped) + " stopped";
    if (outcome.found) text += " (WRONG RESULT: a hit)";
    return text;
}

}  // namespace

int RunClassifyBench() {
    std::puts("| Keywords | Text | random CJK, ~20,900 distinct | baseline: 64 distinct | ratio |");
    std::puts("|---|---|---:|---:|---:|");
    bool wrong = false;
    for (const bool ignoreCase : {false, true}) {
        const KeywordSet set = ClassKeywords(ignoreCase);
        for (const auto& [name, units] : {std::pair{"100 Ki units", size_t{100} << 10}, std::pair{"16 Mi units", size_t{16} << 20}}) {
            const Outcome many = Search(set, CjkText(units, 20902));
            const Outcome few = Search(set, CjkText(units, 64));
            wrong = wrong || many.found || few.found;
            std::printf("| 200 class regexes%s | %s | %s | %s | %s |\n", ignoreCase ? " [i]" : "", name,
                        Describe(many).c_str(), Describe(few).c_str(), Ratio(many.milliseconds / few.milliseconds).c_str());
        }
    }
    return wrong ? 1 : 0;
}

}  // namespace veltrano::bench
