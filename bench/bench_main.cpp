// veltrano_bench: the keyword search benchmark. Usage (scripts/bench runs all of it):
//   prepare <folder>                                write texts and ripgrep pattern files
//   table <folder> <rg results> [ours cap s] [baseline cap s] [sets, e.g. 0123]
//   cell ours|baseline <set> <text file> <result>   one cell, in a child process
//   latency <Veltrano.exe>                          end-to-end latency against the floor (needs a display)
//   floor <body>                                    the floor's listener, in a child process
//   giantcopy <Veltrano.exe>                        a giant copy, then a keyword copy (needs a display)
//   startup <Veltrano.exe> [silent share build]     start-up with a full history (needs a display)
//   textimage                                       the text window's image (needs a display)
//   classify                                        200 class regexes over random CJK text
//   detectors [<corpus list>]                       the built-in detectors against K3, and their false alarms
//   credentials <corpus list>                       the credential detectors' cost, recall and precision
//   organization                                    an organisation's lists on top of K2
//   listcheck                                       a 1 KiB copy with and without the list files' check
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "base/text_encoding.h"
#include "bench_data.h"
#include "cells.h"
#include "classify_bench.h"
#include "credential_bench.h"
#include "detector_bench.h"
#include "driver/program_folder.h"
#include "floor_listener.h"
#include "latency.h"
#include "list_check_bench.h"
#include "organization_bench.h"
#include "replace_bench.h"
#include "startup_bench.h"
#include "text_image_bench.h"

namespace veltrano::bench {
namespace {

void Prepare(const std::wstring& folder) {
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::CreateDirectoryW((folder + L"\\texts").c_str(), nullptr);
    ::CreateDirectoryW((folder + L"\\patterns").c_str(), nullptr);
    std::string sets;
    const auto keywordSets = KeywordSets();
    for (size_t s = 0; s < keywordSets.size(); ++s) {
        driver::WriteFileBytes(folder + L"\\patterns\\" + std::to_wstring(s) + L".txt",
                               WideToUtf8(keywordSets[s].rgPatterns));
        sets += std::to_string(s) + (keywordSets[s].rgNeedsPcre ? " pcre\n" : " default\n");
    }
    driver::WriteFileBytes(folder + L"\\sets.txt", sets);
    std::string names;
    for (const TextCase& text : TextCases()) {
        driver::WriteFileBytes(folder + L"\\texts\\" + Utf8ToWide(text.name) + L".txt", WideToUtf8(MakeText(text)));
        names += text.name + "\n";
    }
    driver::WriteFileBytes(folder + L"\\texts.txt", names);
}

int Main(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    const auto path = [&](int i) { return driver::WindowsPathFromHost(argv[i]); };
    if (command == L"prepare" && argc == 3) {
        Prepare(path(2));
        return 0;
    }
    if (command == L"table" && argc >= 4) {
        return RunTable(path(2), path(3), argc > 4 ? std::stod(argv[4]) : 120, argc > 5 ? std::stod(argv[5]) : 20,
                        argc > 6 ? argv[6] : L"");
    }
    if (command == L"cell" && argc == 6) return RunCell(argv[2], std::stoi(argv[3]), argv[4], argv[5]);
    if (command == L"latency" && argc == 3) return RunLatency(path(2));
    if (command == L"floor" && argc == 3) return RunFloorListener(argv[2]);
    if (command == L"giantcopy" && argc == 3) return RunGiantCopyLatency(path(2));
    if (command == L"startup" && (argc == 3 || argc == 4)) {
        return RunStartupBench(path(2), argc == 4 ? path(3) : std::wstring());
    }
    if (command == L"idle" && argc == 2) return RunIdleWindow();
    if (command == L"replace" && argc == 4) return RunReplaceBench(path(2), path(3));
    if (command == L"textimage" && argc == 2) return RunTextImage();
    if (command == L"classify" && argc == 2) return RunClassifyBench();
    if (command == L"detectors" && (argc == 2 || argc == 3)) return RunDetectorBench(argc == 3 ? path(2) : L"");
    if (command == L"credentials" && argc == 3) return RunCredentialBench(path(2));
    if (command == L"organization" && argc == 2) return RunOrganizationBench();
    if (command == L"listcheck" && argc == 2) return RunListCheckBench();
    if (command == L"detectorchain" && argc == 5) return RunDetectorChainCell(argv[2], argv[3] == std::wstring(L"1"), argv[4]);
    std::fputs("usage: veltrano_bench prepare|table|cell|latency|giantcopy|startup|replace|textimage|classify|detectors|credentials|organization|listcheck ... (see bench/README.md)\n", stderr);
    return 2;
}

}  // namespace
}  // namespace veltrano::bench

int wmain(int argc, wchar_t** argv) {
    try {
        return veltrano::bench::Main(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "veltrano_bench: %s\n", error.what());
        return 1;
    }
}
