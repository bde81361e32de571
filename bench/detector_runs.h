#pragma once
// What the detector benchmarks share: two detector searches timed by turns, and the corpus lists
// scripts/bench writes.
#include <string>
#include <vector>

#include "matching/keyword_search.h"

namespace veltrano::bench {

struct Timed {
    double milliseconds;
    bool found;
    bool stopped;
};

struct Search {
    const std::wstring& text;
    Detectors detectors;
};

struct Compared {
    Timed base;
    Timed other;
    double ratio;  // the median of each round's other ÷ base
};

// Times the two searches by turns, `runs` rounds, so that a slow stretch of a shared machine
// falls on both.
Compared Compare(const Search& base, const Search& other, int runs = 5);

// A line of a corpus list: "positive|negative <set> <host path>".
struct CorpusFile {
    bool positive;
    std::string set;
    std::wstring path;  // as Windows names it
};
std::vector<CorpusFile> ReadCorpus(const std::wstring& listPath);

// UTF-8 bytes as UTF-16, and back with line breaks as blanks (for a one-line report).
std::wstring Wide(const std::string& bytes);
std::string Narrow(const std::wstring& text);

}  // namespace veltrano::bench
