#include "matching/keyword_lists.h"

#include "base/text_encoding.h"
#include "matching/keyword_templates.h"
#include "matching/list_family.h"
#include "matching/list_file_lines.h"
#include "regex/bounded_match.h"

namespace veltrano {
namespace {

constexpr std::wstring_view kIgnoreCasePrefix = L"[i]";

KeywordEntry CompileKeyword(std::wstring_view line, size_t lineNumber, KeywordKind kind) {
    KeywordEntry entry;
    entry.text = line;
    entry.lineNumber = lineNumber;
    entry.ignoreCase = line.starts_with(kIgnoreCasePrefix);
    const std::wstring_view pattern = entry.ignoreCase ? line.substr(kIgnoreCasePrefix.size()) : line;
    auto flags = std::regex_constants::ECMAScript;
    if (entry.ignoreCase) flags |= std::regex_constants::icase;
    if (kind == KeywordKind::Wildcard) {
        entry.pattern = CompileUserPattern(WildcardToRegex(pattern), flags);
        entry.wildcard.emplace(pattern, entry.ignoreCase);
    } else {
        entry.pattern = CompileUserPattern(pattern, flags);
        entry.linear = LinearRegex::Create(pattern, entry.ignoreCase);
    }
    return entry;
}

}  // namespace

KeywordList ParseKeywordLines(std::wstring_view text, KeywordKind kind, const UnparsedKeywordLine& unparsed) {
    KeywordList list;
    ForEachListLine(text, [&](size_t lineNumber, std::wstring_view line) {
        try {
            list.push_back(CompileKeyword(line, lineNumber, kind));
        } catch (const std::regex_error& error) {
            unparsed(lineNumber, Utf8ToWide(error.what()), line);
        }
    });
    return list;
}

KeywordList ParseKeywordLines(std::wstring_view text, KeywordKind kind, LogWriter& log, std::wstring_view file) {
    return ParseKeywordLines(text, kind, [&](size_t lineNumber, const std::wstring& reason, std::wstring_view line) {
        LogUnparsedLine(log, L"キーワード解析エラー", kind, lineNumber,
                        file.empty() ? reason : L"ファイル: " + std::wstring(file) + L" / " + reason, line);
    });
}

void KeywordSet::Assign(KeywordKind kind, KeywordList list) {
    KeywordList& kept = kind == KeywordKind::Wildcard ? wildcard_ : regex_;
    KeywordPrefilter& prefilter = kind == KeywordKind::Wildcard ? wildcardPrefilter_ : regexPrefilter_;
    kept = std::move(list);
    try {
        prefilter = KeywordPrefilter(kept);
    } catch (const std::bad_alloc&) {
        prefilter = KeywordPrefilter();  // covers no list: searches run unfiltered
    }
}

ListFilePair MakeKeywordFilePair(Settings& settings, const DataPaths& paths) {
    return MakeListFilePair({.familyName = L"キーワードファイル",
                             .stemSuffix = L"_keywords",
                             .encrypted = setting::kEncryptKeywordFile,
                             .templateText = KeywordTemplate},
                            settings, paths);
}

KeywordLists::KeywordLists(Settings& settings, const DataPaths& paths, Notifier& notifier, LogWriter& log)
    : files_(MakeKeywordFilePair(settings, paths)),
      notifier_(notifier),
      log_(log) {}

std::wstring KeywordLists::KeywordFilePath(KeywordKind kind, bool encrypted) const { return files_.Path(kind, encrypted); }

void KeywordLists::EnsureKeywordFile(KeywordKind kind) { files_.EnsureFile(kind); }

void KeywordLists::ReloadList(KeywordKind kind, bool keepOnFailure) {
    KeywordList list;
    const std::wstring listName = std::wstring(L"監視キーワードリスト（") + PatternSyntaxName(kind) + L"）";
    if (!LoadList(files_, kind, listName, L"", keepOnFailure ? FailureReport::OncePerStreak : FailureReport::Always,
                  notifier_,
                  [&](const std::wstring& text) { list = ParseKeywordLines(text, kind, log_); })) {
        if (keepOnFailure) return;
        list.clear();
    }
    set_.Assign(kind, std::move(list));
}

void KeywordLists::Reload() {
    if (files_.FollowHeldEncryption()) return;  // sealing has reloaded them
    for (const KeywordKind kind : kPatternSyntaxes) ReloadList(kind, false);
}

void KeywordLists::ReloadChanged() {
    if (files_.FollowHeldEncryption()) return;
    for (const KeywordKind kind : files_.ChangedSinceLoaded()) ReloadList(kind, true);
}

}  // namespace veltrano
