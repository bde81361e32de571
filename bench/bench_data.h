#pragma once
// The benchmark's inputs: four keyword sets and English-like prose built from a fixed seed,
// so every run (and ripgrep on the Linux side) sees the same bytes.
#include <string>
#include <vector>

namespace veltrano::bench {

// One column of the table: the keyword files of one search, one of them empty.
struct KeywordSet {
    std::wstring name;            // "K1 wildcard", ...
    std::wstring wildcardLines;   // keyword file contents, one keyword a line
    std::wstring regexLines;
    std::wstring expectedHit;     // the keyword a hit text must report (the set's last one)
    std::wstring rgPatterns;      // the same keywords for ripgrep, one regex a line
    bool rgNeedsPcre = false;     // back-references or lookahead: rg -P
};

std::vector<KeywordSet> KeywordSets();
// K2's wildcards and K2's regexes in one set: a user's lists of a realistic size.
KeywordSet K2Lists();

// One row of the table.
struct TextCase {
    enum class Shape { Lines, OneLine, Csv };
    std::string name;  // file stem, e.g. "1MiB-lines-hit"
    size_t units;      // UTF-16 code units (ASCII, so also UTF-8 bytes)
    Shape shape;
    bool hit;
};

std::vector<TextCase> TextCases();

// The text of a row, exactly `units` long: prose in lines of at most 80 characters (CRLF) or
// one line, or a customer list in CSV. No keyword of any set matches it (prose: adjacent words
// never repeat a suffix of one as a prefix of the next, no quotes, '@', '_' or digits; CSV: no
// run of digits a K3 keyword takes); with `hit`, one match of each set's last keyword sits in
// the last 1% of the text.
std::wstring MakeText(const TextCase& text);

}  // namespace veltrano::bench
