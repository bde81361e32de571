#pragma once
// The built-in detectors against the K3 regexes on the same texts: the customer lists, order
// lists with random 12- and 13-digit order numbers and Japanese prose, without and with a line of
// labelled numbers near the end; and how often the national-number detectors would report a
// random order number; every kind against the first three (card, My Number, corporate number), by
// turns. Then a hostile chain of single digits against the customer list, and, given a corpus
// list, the files of its Japanese set each kind warns about.
#include <string>

namespace veltrano::bench {

// "detectors [<corpus list>]": the list as the credential benchmark reads it.
int RunDetectorBench(const std::wstring& japaneseCorpusList);

// Child: "detectorchain chain|list <label rules on: 1|0> <result file>": one 16 Mi-unit text with a card at
// its end, searched by the three detectors; writes the median time, whether the card was found, whether the
// search was stopped and the process's peak working set.
int RunDetectorChainCell(const std::wstring& shape, bool labelRules, const std::wstring& resultPath);

}  // namespace veltrano::bench
