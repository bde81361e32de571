#include "detector_runs.h"

#include <windows.h>

#include <chrono>
#include <sstream>

#include "driver/program_folder.h"
#include "loaded_set.h"
#include "regex/large_stack.h"

namespace veltrano::bench {

Compared Compare(const Search& base, const Search& other, int runs) {
    const veltrano::KeywordSet none;
    std::vector<double> times[2];
    std::vector<double> ratios;
    KeywordSearchResult results[2];
    bool stopped[2] = {false, false};
    for (int run = 0; run < runs; ++run) {
        int side = 0;
        for (const Search* search : {&base, &other}) {
            const auto start = std::chrono::steady_clock::now();
            results[side] = RunOnLargeStack([&] { return FindKeyword(none, search->text, kSearchTimeBudget, search->detectors); });
            times[side].push_back(Milliseconds(std::chrono::steady_clock::now() - start));
            stopped[side] = stopped[side] || results[side].firstStopped.has_value();
            ++side;
        }
        ratios.push_back(times[1].back() / times[0].back());
    }
    return {{Median(times[0]), results[0].hit.found, stopped[0]},
            {Median(times[1]), results[1].hit.found, stopped[1]},
            Median(ratios)};
}

std::vector<CorpusFile> ReadCorpus(const std::wstring& listPath) {
    std::vector<CorpusFile> files;
    std::istringstream lines(driver::ReadFileBytes(listPath));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::string kind, set, path;
        if (!(fields >> kind >> set) || !std::getline(fields >> std::ws, path)) continue;
        files.push_back({kind == "positive", set, driver::WindowsPathFromHost(Wide(path))});
    }
    return files;
}

std::wstring Wide(const std::string& bytes) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::string Narrow(const std::wstring& text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    for (char& c : bytes) if (c == '\n' || c == '\r') c = ' ';
    return bytes;
}

}  // namespace veltrano::bench
