#include "detector_bench.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "detector_runs.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "loaded_set.h"
#include "matching/keyword_search.h"
#include "regex/large_stack.h"
#include "number_format.h"
#include "process_memory.h"

namespace veltrano::bench {
namespace {

constexpr int kRuns = 5;
// One line near the end holds a number of each kind with its label; K3 takes the card and the
// My Number too.
constexpr wchar_t kHitLine[] = L"マイナンバー 1234 5678 9018 カード番号 4111 1111 1111 1111 法人番号 7000012050002\r\n";

// The text with kHitLine after the first line end past 99 % of it, as long as before.
std::wstring WithHit(std::wstring text) {
    const size_t lineEnd = text.find(L'\n', text.size() - text.size() / 100);
    const size_t at = lineEnd == std::wstring::npos ? text.size() - std::size(kHitLine) : lineEnd + 1;
    text.insert(at, kHitLine);
    text.resize(text.size() - (std::size(kHitLine) - 1));
    return text;
}

// The benchmark's customer list: no run of digits that any detector takes.
std::wstring CustomerList(size_t units) { return MakeText({"csv", units, TextCase::Shape::Csv, false}); }

// Orders: a random 12- or 13-digit order number, a date, items and an amount per row.
std::wstring OrderList(size_t units) {
    std::mt19937 random(77);
    std::wstring text = L"order,date,items,amount\r\n";
    while (true) {
        std::wstring row;
        for (unsigned digit = 0, length = 12 + random() % 2; digit < length; ++digit) row += static_cast<wchar_t>(L'0' + random() % 10);
        wchar_t rest[64];
        std::swprintf(rest, std::size(rest), L",%04u-%02u-%02u,%u,%u.%02u\r\n", 2015 + random() % 10, 1 + random() % 12,
                      1 + random() % 28, 1 + random() % 40, random() % 90000, random() % 100);
        row += rest;
        if (text.size() + row.size() > units) break;
        text += row;
    }
    text.append(units - text.size(), L' ');
    return text;
}

// Japanese business prose with short numbers (quantities, dates), lines of about 40 characters.
std::wstring JapaneseText(size_t units) {
    static constexpr std::array kWords = {
        L"お客様", L"ご注文", L"確認", L"発送", L"予定", L"です。", L"ありがとうございます。", L"今月", L"請求書",
        L"ご住所", L"東京都", L"大阪府", L"ご連絡", L"担当者", L"よろしくお願いいたします。", L"会議", L"資料",
        L"見積", L"納品", L"変更", L"在庫", L"商品", L"について", L"の", L"を", L"に", L"は", L"と", L"、"};
    std::mt19937 random(78);
    std::wstring text;
    size_t line = 0;
    while (true) {
        std::wstring word = kWords[random() % kWords.size()];
        if (random() % 12 == 0) word = std::to_wstring(1 + random() % 99) + L"個";
        if (random() % 40 == 0) word = std::to_wstring(2020 + random() % 7) + L"年" + std::to_wstring(1 + random() % 12) + L"月";
        if (line + word.size() > 40) word += L"\r\n";
        line = word.ends_with(L"\n") ? 0 : line + word.size();
        if (text.size() + word.size() > units) break;
        text += word;
    }
    text.append(units - text.size(), L' ');
    return text;
}

// The kinds the detectors knew before the label-only ones: card, My Number, corporate number.
constexpr size_t kFirstKinds = 3;

// Every kind, or the first three, with their label rules on or off; a kind without a label rule
// of its own is looked for near its label either way, as the program does.
Detectors KindsDetectors(size_t kinds, bool needsLabel) {
    Detectors detectors;
    for (size_t kind = 0; kind < kinds; ++kind) {
        const IdentifierSwitch& detector = kIdentifierSwitches[kind];
        detectors.identifiers.push_back({detector.kind, needsLabel || !detector.needsLabel});
    }
    return detectors;
}
Detectors AllDetectors(bool needsLabel) { return KindsDetectors(std::size(kIdentifierSwitches), needsLabel); }

// The detectors a new user has: each switch and label rule as the settings' defaults say.
Detectors InstalledDetectors() {
    Detectors detectors;
    for (const IdentifierSwitch& detector : kIdentifierSwitches) {
        if (detector.on.fallback) {
            detectors.identifiers.push_back({detector.kind, !detector.needsLabel || detector.needsLabel->fallback});
        }
    }
    return detectors;
}

struct Measured {
    double milliseconds;
    bool found;
    std::wstring matched;  // of the last run
    bool stopped;          // in any run
};

Measured Measure(const LoadedSet& loaded, const std::wstring& text, const Detectors& detectors) {
    std::vector<double> times;
    KeywordSearchResult result;
    bool stopped = false;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        result = RunOnLargeStack([&] { return FindKeyword(loaded.lists.Set(), text, kSearchTimeBudget, detectors); });
        times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        stopped = stopped || result.firstStopped.has_value();
    }
    return {Median(times), result.hit.found, result.hit.matchedText, stopped};
}

std::string Cell(const Measured& timed, bool expectHit) {
    return Time(timed.milliseconds) + (timed.found == expectHit ? "" : " (WRONG RESULT)");
}

// How many numbers of the kind the detector would report one after the other.
size_t CountReported(std::wstring_view text, IdentifierKind kind, bool needsLabel) {
    size_t count = 0;
    for (size_t from = 0;;) {
        const std::optional<IdentifierMatch> match = FindIdentifier(text.substr(from), {{kind, needsLabel}});
        if (!match) return count;
        ++count;
        from += match->position + match->length;
    }
}

constexpr size_t kChainUnits = 16u << 20;
constexpr wchar_t kEndCard[] = L" 4111 1111 1111 1111";

// "1 1 1 …": every digit starts a group of one chain that never ends before the card.
std::wstring HostileChain() {
    std::wstring text;
    text.reserve(kChainUnits);
    while (text.size() + std::size(kEndCard) - 1 < kChainUnits) text += text.size() % 2 ? L' ' : L'1';
    if (text.back() == L' ') text.pop_back();
    return text + kEndCard;
}

std::wstring ListWithEndCard() {
    std::wstring text = CustomerList(kChainUnits - (std::size(kEndCard) - 1));
    return text + kEndCard;
}

struct ChainCell {
    double milliseconds = 0;
    double peakMiB = 0;
    int found = 0;
    int stopped = 0;
    bool ran = false;
};

ChainCell RunChainChild(const wchar_t* shape, bool labelRules) {
    wchar_t self[MAX_PATH * 4];
    ::GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
    wchar_t resultPath[MAX_PATH];
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    ::GetTempFileNameW(folder, L"vch", 0, resultPath);
    driver::StartedProgram child = driver::StartProgram(
        self, std::wstring(L"detectorchain ") + shape + (labelRules ? L" 1 \"" : L" 0 \"") + resultPath + L"\"", L"");
    ChainCell cell;
    if (driver::WaitForExit(child.process.Get(), 120000) == std::optional<DWORD>(0)) {
        std::istringstream in(driver::ReadFileBytes(resultPath));
        cell.ran = static_cast<bool>(in >> cell.milliseconds >> cell.found >> cell.stopped >> cell.peakMiB);
    } else {
        driver::KillProcess(child.process.Get());
    }
    ::DeleteFileW(resultPath);
    return cell;
}

// The chain against the list, each in a child of its own so that each peak is its own.
bool PrintChainComparison(bool labelRules) {
    const ChainCell chain = RunChainChild(L"chain", labelRules);
    const ChainCell list = RunChainChild(L"list", labelRules);
    const double textMiB = MiB(kChainUnits * sizeof(wchar_t));
    std::printf("Hostile chain, 16 Mi units of \"1 1 1 …\" and a card (%s): %s%s, %.2fx the customer list's %s%s; "
                "peak %.1f MiB, the list's %.1f MiB (%+.1f MiB; the text is %.0f MiB)\n",
                labelRules ? "card without label, My Number and corporate number with their labels, as installed"
                           : "no label rules",
                Time(chain.milliseconds).c_str(), chain.stopped ? " STOPPED" : "", chain.milliseconds / list.milliseconds,
                Time(list.milliseconds).c_str(), list.stopped ? " STOPPED" : "", chain.peakMiB, list.peakMiB,
                chain.peakMiB - list.peakMiB, textMiB);
    return chain.ran && list.ran && chain.found && list.found;
}

}  // namespace

int RunDetectorChainCell(const std::wstring& shape, bool labelRules, const std::wstring& resultPath) {
    const std::wstring text = shape == L"chain" ? HostileChain() : ListWithEndCard();
    KeywordSet none;
    const LoadedSet empty(none);
    const Detectors detectors{{{IdentifierKind::PaymentCard, false},
                               {IdentifierKind::MyNumber, labelRules},
                               {IdentifierKind::CorporateNumber, labelRules}},
                              {}};
    const Measured timed = Measure(empty, text, detectors);
    char line[128];
    std::snprintf(line, sizeof line, "%.3f %d %d %.2f\n", timed.milliseconds, timed.matched == kEndCard + 1 ? 1 : 0,
                  timed.stopped ? 1 : 0, MiB(MemoryCounters().PeakWorkingSetSize));
    driver::WriteFileBytes(resultPath, line);
    return 0;
}

namespace {

struct BenchText {
    const char* name;
    size_t units;
    std::wstring (*make)(size_t);
};
constexpr BenchText kTexts[] = {{"1MiB-csv", 1u << 20, CustomerList},       {"16MiB-csv", 16u << 20, CustomerList},
                                {"1MiB-orders", 1u << 20, OrderList},       {"16MiB-orders", 16u << 20, OrderList},
                                {"1MiB-japanese", 1u << 20, JapaneseText}, {"16MiB-japanese", 16u << 20, JapaneseText}};

// A row of the tables: a text without or with the hit line, and what the detectors must find in
// it with their label rules on (`hit`) and off (`bareHits`: about one order number in ten passes
// a check digit).
struct Row {
    std::string name;
    const std::wstring& text;
    bool hit;
    bool bareHits;
};
void ForEachRow(const std::function<void(const Row&)>& measure) {
    for (const BenchText& shape : kTexts) {
        const std::wstring plain = shape.make(shape.units);
        for (const bool hit : {false, true}) {
            const std::wstring text = hit ? WithHit(plain) : plain;
            measure({std::string(shape.name) + (hit ? "-hit" : "-nohit"), text, hit, hit || shape.make == OrderList});
        }
    }
}

// Every kind against the first three, by turns, with the label rules on and off. Gives whether
// every result was right.
bool PrintKindsComparison() {
    std::puts("| Text | three kinds, labels required | all kinds | ÷ three | three kinds, no labels | all kinds | ÷ three |");
    std::puts("|---|---:|---:|---:|---:|---:|---:|");
    bool right = true;
    ForEachRow([&](const Row& row) {
        const auto& [name, text, hit, bareHits] = row;
        const Compared labelled = Compare({text, KindsDetectors(kFirstKinds, true)}, {text, AllDetectors(true)});
        const Compared bare = Compare({text, KindsDetectors(kFirstKinds, false)}, {text, AllDetectors(false)});
        right = right && labelled.base.found == hit && labelled.other.found == hit && bare.base.found == bareHits &&
                bare.other.found == bareHits;
        std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", name.c_str(),
                    Time(labelled.base.milliseconds).c_str(), Time(labelled.other.milliseconds).c_str(),
                    Ratio(labelled.ratio).c_str(), Time(bare.base.milliseconds).c_str(),
                    Time(bare.other.milliseconds).c_str(), Ratio(bare.ratio).c_str());
    });
    return right;
}

// The files of the corpus's Japanese set each kind of the detectors as installed warns about, with
// what it took for a number and the label beside it.
void PrintJapaneseCorpusAlarms(const std::wstring& corpusList) {
    size_t files = 0;
    double mib = 0;
    std::map<IdentifierKind, std::vector<std::string>> alarms;
    for (const CorpusFile& file : ReadCorpus(corpusList)) {
        if (file.positive || file.set != "japanese") continue;
        const std::wstring text = Wide(driver::ReadFileBytes(file.path));
        ++files;
        mib += MiB(text.size() * sizeof(wchar_t));
        for (const IdentifierRule& rule : InstalledDetectors().identifiers) {
            if (const std::optional<IdentifierMatch> match = FindIdentifier(text, {rule})) {
                const size_t from = match->position > 40 ? match->position - 40 : 0;
                alarms[rule.kind].push_back(Narrow(file.path + L" — …" + text.substr(from, match->position + match->length - from)));
            }
        }
    }
    std::printf("\nJapanese corpus: %zu files, %.1f MiB (UTF-16), every kind as installed\n\n", files, mib);
    std::puts("| Kind | files warned |");
    std::puts("|---|---:|");
    for (const IdentifierRule& rule : InstalledDetectors().identifiers) {
        std::printf("| %s | %zu |\n", Narrow(IdentifierName(rule.kind)).c_str(), alarms[rule.kind].size());
    }
    for (const auto& [kind, found] : alarms) {
        for (size_t shown = 0; shown < found.size() && shown < 10; ++shown) {
            std::printf("  %s: %s\n", Narrow(IdentifierName(kind)).c_str(), found[shown].c_str());
        }
    }
}

}  // namespace

int RunDetectorBench(const std::wstring& japaneseCorpusList) {
    const LoadedSet k3(KeywordSets().at(4));
    KeywordSet none;
    const LoadedSet empty(none);
    std::puts("| Text | K3 regex (8) | detectors, labels required | ÷ K3 | detectors, no labels | ÷ K3 |");
    std::puts("|---|---:|---:|---:|---:|---:|");
    bool wrong = false;
    ForEachRow([&](const Row& row) {
        const auto& [name, text, hit, bareHits] = row;
        const Measured baseline = Measure(k3, text, {});
        const Measured labelled = Measure(empty, text, AllDetectors(true));
        const Measured bare = Measure(empty, text, AllDetectors(false));
        wrong = wrong || baseline.found != hit || labelled.found != hit || bare.found != bareHits;
        std::printf("| %s | %s | %s | %s | %s | %s |\n", name.c_str(), Cell(baseline, hit).c_str(), Cell(labelled, hit).c_str(),
                    Ratio(labelled.milliseconds / baseline.milliseconds).c_str(), Cell(bare, bareHits).c_str(),
                    Ratio(bare.milliseconds / baseline.milliseconds).c_str());
    });
    const std::wstring orders = OrderList(16u << 20);
    std::printf("\nOn 16MiB-orders-nohit (%zu order numbers of 12 or 13 digits): My Number reported %zu times without "
                "the label rule, %zu with it; corporate number %zu without, %zu with\n",
                static_cast<size_t>(std::count(orders.begin(), orders.end(), L'\n') - 1),
                CountReported(orders, IdentifierKind::MyNumber, false), CountReported(orders, IdentifierKind::MyNumber, true),
                CountReported(orders, IdentifierKind::CorporateNumber, false),
                CountReported(orders, IdentifierKind::CorporateNumber, true));
    std::printf("With their labels required, on the same orders:");
    for (size_t kind = kFirstKinds; kind < std::size(kIdentifierSwitches); ++kind) {
        std::printf(" %s %zu;", Narrow(IdentifierName(kIdentifierSwitches[kind].kind)).c_str(),
                    CountReported(orders, kIdentifierSwitches[kind].kind, true));
    }
    std::puts("\n");
    wrong = !PrintKindsComparison() || wrong;
    std::puts("");
    for (const bool labelRules : {true, false}) wrong = !PrintChainComparison(labelRules) || wrong;
    if (!japaneseCorpusList.empty()) PrintJapaneseCorpusAlarms(japaneseCorpusList);
    return wrong ? 1 : 0;
}

}  // namespace veltrano::bench
