#pragma once
// The user's replacement definitions ("this pattern becomes that text"): two files beside the
// program (wildcard and regular expression), each parsed into an automatic and a manual list.
#include <cstdint>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "base/notifier.h"
#include "base/pattern_syntax.h"
#include "log/log_writer.h"
#include "regex/bounded_match.h"
#include "regex/linear_regex.h"
#include "regex/wildcard.h"
#include "settings/settings.h"
#include "storage/data_paths.h"
#include "storage/list_file_encryption.h"
#include "storage/list_file_pair.h"

namespace veltrano {

// Which definition file a definition came from; its value is a replacement record's type.
using DefinitionKind = PatternSyntax;

// Format flags as a definition stores them. These values are fixed for other code to read;
// libstdc++ numbers std::regex_constants::format_* differently, so ToMatchFlags translates.
inline constexpr std::uint32_t kFormatSed = 0x400;
inline constexpr std::uint32_t kFormatNoCopy = 0x800;
inline constexpr std::uint32_t kFormatFirstOnly = 0x1000;

std::regex_constants::match_flag_type ToMatchFlags(std::uint32_t formatFlags);

struct ReplacementDefinition {
    std::wstring lineText;  // the line as written, prefixes included
    std::wregex pattern;    // ECMAScript, icase with "[i]"
    std::wstring patternText;  // between the prefixes and the first TAB (wildcard: untranslated)
    std::wstring replacement;  // after the first TAB; wildcard: every '$' doubled
    std::uint32_t formatFlags = 0;
    bool automatic = false;
    bool ignoreCase = false;
    DefinitionKind kind = DefinitionKind::Regex;
    std::optional<WildcardMatcher> wildcard;  // wildcard kind: the same pattern in linear time
    std::shared_ptr<const LinearRegex> linear;  // where the pattern can match, in linear time
};

using ReplacementList = std::vector<ReplacementDefinition>;

// Parses one definition line (already trimmed, not a comment). Throws std::runtime_error with a
// UTF-8 message for a format error, std::regex_error for a pattern that does not compile.
ReplacementDefinition ParseDefinitionLine(std::wstring_view line, DefinitionKind kind);

struct ParsedDefinitions {
    ReplacementList automatic;
    ReplacementList manual;
};

// Parses decoded definition file text, in file order. A bad line is logged (category Other)
// and left out; parsing goes on. Other failures (out of memory) propagate.
ParsedDefinitions ParseDefinitionLines(std::wstring_view text, DefinitionKind kind, LogWriter& log);

// One std::regex_replace(text, pattern, replacement, formatFlags), run through the bounded
// matcher (wildcard definitions through their linear matcher, which gives the same result).
// Throws MatchAborted when the match runs out of stack or budget; the text is then unchanged
// for the caller, which reports it. Runs on the calling thread: use RunOnLargeStack for long texts.
std::wstring ApplyReplacement(std::wstring_view text, const ReplacementDefinition& definition, MatchBudget& budget);

class ReplacementDefinitions {
public:
    ReplacementDefinitions(Settings& settings, const DataPaths& paths, Notifier& notifier, LogWriter& log);

    // The switch that converts these files; used when an encrypted file is missing.
    void AttachEncryption(ListFileEncryption& encryption) { files_.AttachEncryption(encryption); }
    ListFilePair& Files() noexcept { return files_; }
    // The description of this file family ("置換定義ファイル") for its encryption switch.
    // After a conversion the definitions are reloaded only while replacement is in use.
    ListFileFamily Family() {
        return files_.Family([this] {
            if (settings_.UseClipboardReplace()) Reload();
        });
    }

    std::wstring DefinitionFilePath(DefinitionKind kind, bool encrypted) const;
    // Makes the file of the current form exist: a plain template when missing, after switching
    // encryption off when the encrypted file is the one missing.
    void EnsureDefinitionFile(DefinitionKind kind);
    // Reloads both kinds, wildcard first; a kind whose file cannot be read has both lists
    // emptied and is reported. Never throws.
    void Reload();
    // Before each replacement, while replacement is in use: reloads a kind whose file changed on
    // disk since it was loaded. One that fails to read then keeps its lists, and is reported.
    void ReloadChanged();
    // While the manual replacement menu is open, its command ids stand for the definitions it
    // shows: changed files wait until it is closed.
    void HoldChangedReloads(bool held) noexcept { changedReloadsHeld_ = held; }

    const ReplacementList& Automatic(DefinitionKind kind) const {
        return kind == DefinitionKind::Wildcard ? wildcardAutomatic_ : regexAutomatic_;
    }
    const ReplacementList& Manual(DefinitionKind kind) const {
        return kind == DefinitionKind::Wildcard ? wildcardManual_ : regexManual_;
    }

private:
    void ReloadKind(DefinitionKind kind, bool keepOnFailure);

    const Settings& settings_;
    ListFilePair files_;
    Notifier& notifier_;
    LogWriter& log_;
    ReplacementList wildcardAutomatic_;
    ReplacementList wildcardManual_;
    ReplacementList regexAutomatic_;
    ReplacementList regexManual_;
    bool changedReloadsHeld_ = false;
};

}  // namespace veltrano
