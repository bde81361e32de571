#pragma once
// Classifying the characters of a text for 200 class-built regex keywords: the search on random
// CJK text (thousands of distinct characters) against the same on a few distinct ones.

namespace veltrano::bench {

int RunClassifyBench();

}  // namespace veltrano::bench
