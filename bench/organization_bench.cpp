#include "organization_bench.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "loaded_set.h"
#include "matching/keyword_search.h"
#include "regex/large_stack.h"

namespace veltrano::bench {
namespace {

constexpr int kRuns = 5;
constexpr size_t kWildcards = 10000;
constexpr size_t kRegexes = 1000;

// In the shapes of K2's keywords, under names no text of the table holds.
std::wstring OrganizationWildcards() {
    std::wstring lines;
    for (size_t i = 0; i < kWildcards; ++i) {
        const std::wstring number = std::to_wstring(10000 + i * 7);
        switch (i % 4) {
            case 0: lines += L"[i]orgdoc-" + number + L"-*"; break;
            case 1: lines += L"project_" + number + L"_????.xlsx"; break;
            case 2: lines += L"*-confidential-" + number + L".pdf"; break;
            default: lines += L"[i]contract-v" + std::to_wstring(i % 9) + L"." + number + L"*"; break;
        }
        lines += L"\n";
    }
    return lines;
}

std::wstring OrganizationRegexes() {
    std::wstring lines;
    for (size_t i = 0; i < kRegexes; ++i) {
        const std::wstring number = std::to_wstring(100 + i);
        switch (i % 3) {
            case 0: lines += L"ORG" + number + L"_KEY_[A-Z0-9]{32}"; break;
            case 1: lines += L"INTERNAL" + number + L"_TOKEN_[A-Za-z0-9]{40}"; break;
            default: lines += L"[i]staff" + number + L"_id=[a-f0-9]{24}"; break;
        }
        lines += L"\n";
    }
    return lines;
}

double MedianSearchMs(const LoadedSet& user, const veltrano::KeywordSet* organization, const std::wstring& text, bool& found) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const KeywordSearchResult result =
            RunOnLargeStack([&] { return FindKeyword(user.lists.Set(), text, kSearchTimeBudget, {}, organization); });
        times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        found = result.hit.found || result.firstStopped;
    }
    return Median(times);
}

}  // namespace

int RunOrganizationBench() {
    LoadedSet user(K2Lists());
    const auto parseStart = std::chrono::steady_clock::now();
    veltrano::KeywordSet organization;
    organization.Assign(KeywordKind::Wildcard,
                        ParseKeywordLines(OrganizationWildcards(), KeywordKind::Wildcard, user.log));
    organization.Assign(KeywordKind::Regex,
                        ParseKeywordLines(OrganizationRegexes(), KeywordKind::Regex, user.log));
    const double parseMs = Milliseconds(std::chrono::steady_clock::now() - parseStart);
    std::printf("Organisation lists (%zu wildcards, %zu regexes) parsed with their prefilters in %.0f ms\n",
                organization.List(KeywordKind::Wildcard).size(), organization.List(KeywordKind::Regex).size(), parseMs);
    std::printf("| text | K2 alone | organisation + K2 | ratio |\n|---|---:|---:|---:|\n");
    int failures = 0;
    for (const TextCase& text : {TextCase{"1MiB-lines-nohit", 1u << 20, TextCase::Shape::Lines, false},
                                 TextCase{"16MiB-lines-nohit", 16u << 20, TextCase::Shape::Lines, false},
                                 TextCase{"16MiB-csv-nohit", 16u << 20, TextCase::Shape::Csv, false}}) {
        const std::wstring content = MakeText(text);
        bool foundAlone = false;
        bool foundWith = false;
        const double alone = MedianSearchMs(user, nullptr, content, foundAlone);
        const double with = MedianSearchMs(user, &organization, content, foundWith);
        if (foundAlone || foundWith) {
            std::fprintf(stderr, "organization: %s is not a text without hits\n", text.name.c_str());
            ++failures;
        }
        std::printf("| %s | %.1f ms | %.1f ms | %.2fx |\n", text.name.c_str(), alone, with, with / alone);
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace veltrano::bench
