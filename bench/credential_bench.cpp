#include "credential_bench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_data.h"
#include "detector_runs.h"
#include "driver/program_folder.h"
#include "loaded_set.h"
#include "matching/keyword_search.h"
#include "number_format.h"

namespace veltrano::bench {
namespace {

constexpr int kRuns = 5;
constexpr size_t kUnits = 16u << 20;

// Card and My Number, as installed, with or without both credential families.
Detectors Installed(bool credentials) {
    return {{{IdentifierKind::PaymentCard, false}, {IdentifierKind::MyNumber, true}}, {credentials, credentials}};
}

std::string Cell(const Timed& timed) {
    return Time(timed.milliseconds) + (timed.stopped ? " STOPPED" : "") + (timed.found ? " (found)" : "");
}

// Texts of one shape, `kUnits` long.
std::wstring Repeated(const std::function<std::wstring(std::mt19937&)>& piece) {
    std::mt19937 random(91);
    std::wstring text;
    text.reserve(kUnits);
    while (text.size() < kUnits) text += piece(random);
    text.resize(kUnits);
    return text;
}

std::wstring JsonLog() {
    static constexpr const wchar_t* kLevels[] = {L"info", L"warn", L"debug", L"error"};
    return Repeated([](std::mt19937& random) {
        wchar_t line[256];
        std::swprintf(line, std::size(line),
                      L"{\"ts\":\"2026-%02u-%02uT%02u:%02u:%02u.%03uZ\",\"level\":\"%ls\",\"user\":\"u%05u\","
                      L"\"path\":\"/api/v1/orders/%u\",\"status\":%u,\"latency_ms\":%u,\"msg\":\"request done\"}\r\n",
                      1 + random() % 12, 1 + random() % 28, random() % 24, random() % 60, random() % 60, random() % 1000,
                      kLevels[random() % 4], random() % 100000, random() % 1000000, 200 + random() % 300, random() % 900);
        return std::wstring(line);
    });
}

std::wstring RandomRun(const wchar_t* alphabet) {
    const std::wstring letters(alphabet);
    return Repeated([&](std::mt19937& random) {
        std::wstring piece(4096, L' ');
        for (wchar_t& c : piece) c = letters[random() % letters.size()];
        return piece;
    });
}

std::wstring ShortKeysJson() {
    size_t key = 0;
    std::wstring text = L"{";
    text += Repeated([&](std::mt19937&) { return L"\"k" + std::to_wstring(key++ % 1000000) + L"\":1,"; });
    return text;
}

// Concatenated negative files of one set, up to `kUnits`: real text of that kind.
std::wstring CorpusText(const std::vector<CorpusFile>& files, const std::string& set) {
    std::wstring text;
    for (const CorpusFile& file : files) {
        if (file.positive || file.set != set || text.size() >= kUnits) continue;
        text += Wide(driver::ReadFileBytes(file.path));
    }
    while (!text.empty() && text.size() < kUnits) text += text.substr(0, kUnits - text.size());
    text.resize(std::min(text.size(), kUnits));
    return text;
}

void PrintSpeed(const std::vector<CorpusFile>& corpus) {
    std::puts("| Text (16 MiB) | card and My Number | with both credential families | ÷ without |");
    std::puts("|---|---:|---:|---:|");
    const struct {
        const char* name;
        std::wstring text;
    } texts[] = {{"customer list", MakeText({"csv", kUnits, TextCase::Shape::Csv, false})},
                 {"Japanese prose (man pages)", CorpusText(corpus, "japanese")},
                 {"JSON log", JsonLog()},
                 {"source code (/usr/include)", CorpusText(corpus, "include")}};
    for (const auto& [name, text] : texts) {
        const Compared compared = Compare({text, Installed(false)}, {text, Installed(true)});
        std::printf("| %s | %s | %s | %s |\n", name, Cell(compared.base).c_str(), Cell(compared.other).c_str(),
                    Ratio(compared.ratio).c_str());
    }
    const std::wstring& customerList = texts[0].text;
    std::puts("\n| Shape (16 Mi units, every detector on) | time | customer list, by turns | ÷ customer list |");
    std::puts("|---|---:|---:|---:|");
    const struct {
        const char* name;
        std::wstring text;
    } shapes[] = {{"\"=\" run", std::wstring(kUnits, L'=')},
                  {"\":\" run", std::wstring(kUnits, L':')},
                  {"\"$\" run", std::wstring(kUnits, L'$')},
                  {"\"-\" run", std::wstring(kUnits, L'-')},
                  {"\"_\" run", std::wstring(kUnits, L'_')},
                  {"base64", RandomRun(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")},
                  {"hex", RandomRun(L"0123456789abcdef")},
                  {"\"eyJ\" repeated", Repeated([](std::mt19937&) { return std::wstring(L"eyJ"); })},
                  {"\"password=\" repeated", Repeated([](std::mt19937&) { return std::wstring(L"password="); })},
                  {"\"password password \" repeated", Repeated([](std::mt19937&) { return std::wstring(L"password "); })},
                  {"one line", MakeText({"line", kUnits, TextCase::Shape::OneLine, false})},
                  {"JSON of 1 M short keys", ShortKeysJson()}};
    for (const auto& [name, text] : shapes) {
        const Compared compared = Compare({customerList, Installed(true)}, {text, Installed(true)});
        std::printf("| %s | %s | %s | %s |\n", name, Cell(compared.other).c_str(), Cell(compared.base).c_str(),
                    Ratio(compared.ratio).c_str());
    }
}

void PrintPrecision(const std::vector<CorpusFile>& corpus) {
    struct Counts {
        size_t files = 0;
        size_t flagged = 0;
        double mib = 0;
        std::vector<std::string> examples;
    };
    std::map<std::string, Counts> sets;
    for (const CorpusFile& file : corpus) {
        const std::wstring text = Wide(driver::ReadFileBytes(file.path));
        const std::optional<CredentialMatch> found = FindDetected(text, {}, {true, true}).credential;
        Counts& counts = sets[(file.positive ? "positive " : "negative ") + file.set];
        ++counts.files;
        counts.mib += static_cast<double>(text.size() * sizeof(wchar_t)) / (1 << 20);
        if (found) ++counts.flagged;
        const bool wrong = found.has_value() != file.positive;
        if (wrong && counts.examples.size() < 40) {
            // A public file's false alarm is shown with what it matched, to tell the rule at fault.
            const std::wstring what =
                found ? CredentialDescription(*found) + L": " + text.substr(found->position, std::min<size_t>(found->length, 60))
                      : L"missed";
            counts.examples.push_back(Narrow(file.path + L" — " + what));
        }
    }
    std::puts("\n| Corpus | files | MiB (UTF-16) | warned |");
    std::puts("|---|---:|---:|---:|");
    size_t truePositives = 0, positives = 0, falsePositives = 0;
    for (const auto& [name, counts] : sets) {
        std::printf("| %s | %zu | %.1f | %zu |\n", name.c_str(), counts.files, counts.mib, counts.flagged);
        if (name.starts_with("positive")) {
            truePositives += counts.flagged;
            positives += counts.files;
        } else {
            falsePositives += counts.flagged;
        }
    }
    std::printf("\nRecall %.1f%% (%zu of %zu positive files), precision %.1f%% (%zu false alarms among the negative files)\n",
                100.0 * static_cast<double>(truePositives) / static_cast<double>(positives), truePositives, positives,
                100.0 * static_cast<double>(truePositives) / static_cast<double>(truePositives + falsePositives),
                falsePositives);
    for (const auto& [name, counts] : sets) {
        for (const std::string& example : counts.examples) std::printf("  %s: %s\n", name.c_str(), example.c_str());
    }
}

}  // namespace

int RunCredentialBench(const std::wstring& corpusList) {
    const std::vector<CorpusFile> corpus = ReadCorpus(corpusList);
    if (corpus.empty()) {
        std::fputs("credentials: the corpus list is empty\n", stderr);
        return 2;
    }
    if (!std::getenv("VELTRANO_BENCH_PRECISION_ONLY")) PrintSpeed(corpus);
    PrintPrecision(corpus);
    return 0;
}

}  // namespace veltrano::bench
