#include "matching/replacement_definitions.h"

#include <stdexcept>

#include "base/text_encoding.h"
#include "matching/list_family.h"
#include "matching/list_file_lines.h"
#include "matching/replacement_templates.h"

namespace veltrano {
namespace {

// A format error of one line: logged and skipped, unlike every other failure of a load.
class DefinitionLineError : public std::runtime_error {
public:
    explicit DefinitionLineError(const wchar_t* message) : std::runtime_error(WideToUtf8(message)) {}
};

// Reads the "[name]" prefixes at the start of `rest` into `definition` and removes them.
void ReadPrefixes(std::wstring_view& rest, ReplacementDefinition& definition) {
    while (rest.starts_with(L'[')) {
        const size_t close = rest.find(L']');
        if (close == std::wstring_view::npos) throw DefinitionLineError(L"']' が見つかりません");
        const std::wstring_view name = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);
        if (name == L"a") {
            definition.automatic = true;
        } else if (name == L"i") {
            definition.ignoreCase = true;
        } else if (name == L"fmt_default") {
            // The default format: adds nothing and clears nothing.
        } else if (name == L"fmt_sed" && definition.kind == DefinitionKind::Regex) {
            definition.formatFlags |= kFormatSed;
        } else if (name == L"fmt_no_copy") {
            definition.formatFlags |= kFormatNoCopy;
        } else if (name == L"fmt_first_only") {
            definition.formatFlags |= kFormatFirstOnly;
        } else {
            throw DefinitionLineError(L"未知のプレフィックス");
        }
    }
}

// So that the default format inserts a wildcard replacement literally.
std::wstring DoubleDollars(std::wstring_view text) {
    std::wstring doubled;
    doubled.reserve(text.size());
    for (wchar_t c : text) {
        doubled.push_back(c);
        if (c == L'$') doubled.push_back(L'$');
    }
    return doubled;
}

// What the default format makes of a $-doubled string: each "$$" is one '$', nothing else changes.
std::wstring UndoubleDollars(std::wstring_view doubled) {
    std::wstring text;
    text.reserve(doubled.size());
    for (size_t i = 0; i < doubled.size(); ++i) {
        text.push_back(doubled[i]);
        if (doubled[i] == L'$' && i + 1 < doubled.size() && doubled[i + 1] == L'$') ++i;
    }
    return text;
}

// std::regex_replace's loop over the wildcard matcher's matches (same matches, same prefixes,
// including those after an empty match); the default format of a $-doubled replacement
// expands to the undoubled text.
std::wstring WildcardLiteralReplace(std::wstring_view text, const ReplacementDefinition& definition) {
    const WildcardMatcher& matcher = *definition.wildcard;
    const bool noCopy = (definition.formatFlags & kFormatNoCopy) != 0;
    const bool firstOnly = (definition.formatFlags & kFormatFirstOnly) != 0;
    const std::wstring inserted = UndoubleDollars(definition.replacement);
    std::wstring result;
    size_t copied = 0;
    for (std::optional<MatchSpan> match = matcher.Find(text); match; match = matcher.FindNext(text, *match)) {
        if (!noCopy) result.append(text.substr(copied, match->position - copied));
        result.append(inserted);
        if (result.size() > kMaxReplacementLength) throw MatchAborted(MatchAborted::Reason::ResultTooLarge);
        copied = match->End();
        if (firstOnly) break;
    }
    if (!noCopy) result.append(text.substr(copied));
    return result;
}

bool HasOnlyDoubledDollars(std::wstring_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'$') continue;
        if (i + 1 == text.size() || text[i + 1] != L'$') return false;
        ++i;
    }
    return true;
}

}  // namespace

std::regex_constants::match_flag_type ToMatchFlags(std::uint32_t formatFlags) {
    auto flags = std::regex_constants::format_default;
    if (formatFlags & kFormatSed) flags |= std::regex_constants::format_sed;
    if (formatFlags & kFormatNoCopy) flags |= std::regex_constants::format_no_copy;
    if (formatFlags & kFormatFirstOnly) flags |= std::regex_constants::format_first_only;
    return flags;
}

ReplacementDefinition ParseDefinitionLine(std::wstring_view line, DefinitionKind kind) {
    ReplacementDefinition definition;
    definition.lineText = line;
    definition.kind = kind;
    std::wstring_view rest = line;
    ReadPrefixes(rest, definition);
    const size_t tab = rest.find(L'\t');
    if (tab == std::wstring_view::npos) throw DefinitionLineError(L"runtime_error: TAB区切りが不正です");
    definition.patternText = rest.substr(0, tab);
    const std::wstring_view replacement = rest.substr(tab + 1);
    auto syntax = std::regex_constants::ECMAScript;
    if (definition.ignoreCase) syntax |= std::regex_constants::icase;
    const std::wstring regex =
        kind == DefinitionKind::Wildcard ? WildcardToRegex(definition.patternText) : std::wstring(definition.patternText);
    definition.pattern = CompileUserPattern(regex, syntax);
    definition.linear = LinearRegex::Create(regex, definition.ignoreCase);
    if (kind == DefinitionKind::Wildcard) {
        definition.wildcard.emplace(definition.patternText, definition.ignoreCase);
        definition.replacement = DoubleDollars(replacement);
    } else {
        definition.replacement = replacement;
    }
    return definition;
}

ParsedDefinitions ParseDefinitionLines(std::wstring_view text, DefinitionKind kind, LogWriter& log) {
    ParsedDefinitions parsed;
    ForEachListLine(text, [&](size_t lineNumber, std::wstring_view line) {
        std::string error;
        try {
            ReplacementDefinition definition = ParseDefinitionLine(line, kind);
            (definition.automatic ? parsed.automatic : parsed.manual).push_back(std::move(definition));
            return;
        } catch (const DefinitionLineError& lineError) {
            error = lineError.what();
        } catch (const std::regex_error& regexError) {
            error = regexError.what();
        }
        LogUnparsedLine(log, L"置換定義解析エラー", kind, lineNumber, Utf8ToWide(error), line);
    });
    return parsed;
}

std::wstring ApplyReplacement(std::wstring_view text, const ReplacementDefinition& definition, MatchBudget& budget) {
    // The linear path holds only where the replacement is a $-doubled literal read by the
    // default format: always so for a parsed wildcard definition.
    if (definition.wildcard && (definition.formatFlags & kFormatSed) == 0 &&
        HasOnlyDoubledDollars(definition.replacement)) {
        return WildcardLiteralReplace(text, definition);
    }
    return BoundedReplace(definition.pattern, text, definition.replacement, ToMatchFlags(definition.formatFlags),
                          budget, definition.linear ? definition.linear->StartFinder(text, budget) : MatchStartFinder{});
}

ReplacementDefinitions::ReplacementDefinitions(Settings& settings, const DataPaths& paths, Notifier& notifier,
                                               LogWriter& log)
    : settings_(settings),
      files_(MakeListFilePair({.familyName = L"置換定義ファイル",
                               .stemSuffix = L"_replace",
                               .encrypted = setting::kEncryptReplaceFile,
                               .templateText = ReplacementTemplate},
                              settings, paths)),
      notifier_(notifier),
      log_(log) {}

std::wstring ReplacementDefinitions::DefinitionFilePath(DefinitionKind kind, bool encrypted) const {
    return files_.Path(kind, encrypted);
}

void ReplacementDefinitions::EnsureDefinitionFile(DefinitionKind kind) { files_.EnsureFile(kind); }

void ReplacementDefinitions::ReloadKind(DefinitionKind kind, bool keepOnFailure) {
    const bool wildcard = kind == DefinitionKind::Wildcard;
    ReplacementList& automatic = wildcard ? wildcardAutomatic_ : regexAutomatic_;
    ReplacementList& manual = wildcard ? wildcardManual_ : regexManual_;
    const std::wstring listName = std::wstring(L"置換定義リスト（") + PatternSyntaxName(kind) + L"）";
    const FailureReport report = keepOnFailure ? FailureReport::OncePerStreak : FailureReport::Always;
    const bool loaded = LoadList(files_, kind, listName, L"\n", report, notifier_, [&](const std::wstring& text) {
        ParsedDefinitions parsed = ParseDefinitionLines(text, kind, log_);
        automatic = std::move(parsed.automatic);
        manual = std::move(parsed.manual);
    });
    if (!loaded && !keepOnFailure) {
        automatic.clear();
        manual.clear();
    }
}

void ReplacementDefinitions::Reload() {
    if (files_.FollowHeldEncryption()) return;  // sealing has reloaded them
    for (const DefinitionKind kind : kPatternSyntaxes) ReloadKind(kind, false);
}

void ReplacementDefinitions::ReloadChanged() {
    if (changedReloadsHeld_ || !settings_.UseClipboardReplace()) return;
    if (files_.FollowHeldEncryption()) return;
    for (const DefinitionKind kind : files_.ChangedSinceLoaded()) ReloadKind(kind, true);
}

}  // namespace veltrano
