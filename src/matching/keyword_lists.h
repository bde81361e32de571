#pragma once
// The user's keywords: two files beside the program (wildcard and regular expression),
// parsed into lists that keyword search scans on every clipboard change.
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "base/notifier.h"
#include "base/pattern_syntax.h"
#include "log/log_writer.h"
#include "matching/keyword_prefilter.h"
#include "regex/linear_regex.h"
#include "regex/wildcard.h"
#include "settings/settings.h"
#include "storage/data_paths.h"
#include "storage/list_file_encryption.h"
#include "storage/list_file_pair.h"

namespace veltrano {

// Which keyword file a keyword came from.
using KeywordKind = PatternSyntax;

struct KeywordEntry {
    std::wstring text;  // the line as written, "[i]" included
    size_t lineNumber = 0;  // in its file, from 1: what names it where its text may not go
    std::wregex pattern;
    bool ignoreCase = false;
    std::optional<WildcardMatcher> wildcard;  // the same pattern, matched in linear time
    std::shared_ptr<const LinearRegex> linear;  // regex kind: where it can match, in linear time
};

using KeywordList = std::vector<KeywordEntry>;

// Told of each line whose pattern does not compile: its number, the reason, the line.
using UnparsedKeywordLine = std::function<void(size_t lineNumber, const std::wstring& reason, std::wstring_view line)>;

// Parses decoded keyword file text. A line whose pattern does not compile is told to `unparsed`
// and left out; parsing goes on.
KeywordList ParseKeywordLines(std::wstring_view text, KeywordKind kind, const UnparsedKeywordLine& unparsed);
// The same, logging such a line (category Other, naming `file` when given).
KeywordList ParseKeywordLines(std::wstring_view text, KeywordKind kind, LogWriter& log, std::wstring_view file = {});

// A wildcard and a regex list with the prefilters built from them, so that a search scans the
// text once for all literals of a list.
class KeywordSet {
public:
    const KeywordList& List(KeywordKind kind) const { return kind == KeywordKind::Wildcard ? wildcard_ : regex_; }
    const KeywordPrefilter& Prefilter(KeywordKind kind) const {
        return kind == KeywordKind::Wildcard ? wildcardPrefilter_ : regexPrefilter_;
    }
    bool Empty() const { return wildcard_.empty() && regex_.empty(); }
    // Takes the list and builds its prefilter.
    void Assign(KeywordKind kind, KeywordList list);

private:
    KeywordList wildcard_;
    KeywordList regex_;
    KeywordPrefilter wildcardPrefilter_;
    KeywordPrefilter regexPrefilter_;
};

// The user's two keyword files, in the form the settings name.
ListFilePair MakeKeywordFilePair(Settings& settings, const DataPaths& paths);

class KeywordLists {
public:
    KeywordLists(Settings& settings, const DataPaths& paths, Notifier& notifier, LogWriter& log);

    // The switch that converts these files; the lists call it when an encrypted file is missing.
    void AttachEncryption(ListFileEncryption& encryption) { files_.AttachEncryption(encryption); }
    ListFilePair& Files() noexcept { return files_; }
    // The description of this file family for its encryption switch.
    ListFileFamily Family() { return files_.Family([this] { Reload(); }); }

    std::wstring KeywordFilePath(KeywordKind kind, bool encrypted) const;
    // Makes the file of the current form exist: a plain template when missing, after switching
    // encryption off when the encrypted file is the one missing.
    void EnsureKeywordFile(KeywordKind kind);
    // Reloads both lists; a list whose file cannot be read is emptied and reported. Never throws.
    void Reload();
    // Before each search: reloads a list whose file changed on disk since it was loaded. One that
    // fails to read then (an editor still writing it) keeps the list it had, and is reported.
    void ReloadChanged();

    const KeywordSet& Set() const noexcept { return set_; }
    const KeywordList& List(KeywordKind kind) const { return set_.List(kind); }

private:
    void ReloadList(KeywordKind kind, bool keepOnFailure);

    ListFilePair files_;
    Notifier& notifier_;
    LogWriter& log_;
    KeywordSet set_;
};

}  // namespace veltrano
