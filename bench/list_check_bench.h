#pragma once
// What a copy costs with the check for edited list files: a 1 KiB copy searched with the K2
// lists, with and without asking the four list files whether they changed.
namespace veltrano::bench {

int RunListCheckBench();

}  // namespace veltrano::bench
