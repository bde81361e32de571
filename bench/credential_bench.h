#pragma once
// The credential detectors: their cost beside card and My Number on 16 MiB texts and on hostile
// shapes, and their recall and precision on a corpus: samples of credential files people paste
// (bench/credential_samples) and ordinary text nobody wrote for this (headers, licences, Japanese
// manual pages), listed by scripts/bench.
#include <string>

namespace veltrano::bench {

// "credentials <corpus list>": lines of "positive|negative <set> <path>".
int RunCredentialBench(const std::wstring& corpusList);

}  // namespace veltrano::bench
