#include "matching/keyword_lists.h"

#include "base/text_encoding.h"
#include "matching/bounded_match.h"
#include "matching/keyword_templates.h"
#include "matching/list_file_lines.h"

namespace veltrano {
namespace {

constexpr std::wstring_view kIgnoreCasePrefix = L"[i]";

PatternSyntax SyntaxOf(KeywordKind kind) {
    return kind == KeywordKind::Wildcard ? PatternSyntax::Wildcard : PatternSyntax::Regex;
}
KeywordKind SyntaxKind(PatternSyntax syntax) {
    return syntax == PatternSyntax::Wildcard ? KeywordKind::Wildcard : KeywordKind::Regex;
}

KeywordEntry CompileKeyword(std::wstring_view line, KeywordKind kind) {
    KeywordEntry entry;
    entry.text = line;
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

const wchar_t* KeywordKindName(KeywordKind kind) {
    return kind == KeywordKind::Wildcard ? L"ワイルドカード" : L"正規表現";
}

KeywordList ParseKeywordLines(std::wstring_view text, KeywordKind kind, LogWriter& log) {
    KeywordList list;
    ForEachListLine(text, [&](size_t lineNumber, std::wstring_view line) {
        try {
            list.push_back(CompileKeyword(line, kind));
        } catch (const std::regex_error& error) {
            log.WriteLog(LogCategory::Other, L"キーワード解析エラー",
                         std::wstring(L"タイプ: ") + KeywordKindName(kind) + L" / 行番号: " +
                             std::to_wstring(lineNumber) + L" / " + Utf8ToWide(error.what()) + L" / 記述内容: " +
                             std::wstring(line));
        }
    });
    return list;
}

KeywordLists::KeywordLists(Settings& settings, const DataPaths& paths, Notifier& notifier, LogWriter& log)
    : files_(
          ListFilePairSpec{
              .familyName = L"キーワードファイル",
              .wildcardStem = L"_wildcard_keywords",
              .regexStem = L"_regex_keywords",
              .readEncrypted = [&settings] { return settings.EncryptKeywordFile(); },
              .writeEncrypted = [&settings](bool value) { return settings.Write(setting::kEncryptKeywordFile, value); },
              .settingsFile = settings.Ini().Path(),
              .templateText = [](PatternSyntax syntax) { return KeywordTemplate(SyntaxKind(syntax)); },
          },
          paths),
      notifier_(notifier),
      log_(log) {}

std::wstring KeywordLists::KeywordFilePath(KeywordKind kind, bool encrypted) const {
    return files_.Path(SyntaxOf(kind), encrypted);
}

void KeywordLists::EnsureKeywordFile(KeywordKind kind) { files_.EnsureFile(SyntaxOf(kind)); }

void KeywordLists::ReloadList(KeywordKind kind) {
    KeywordList& list = kind == KeywordKind::Wildcard ? wildcard_ : regex_;
    const std::wstring listName = std::wstring(L"監視キーワードリスト（") + KeywordKindName(kind) + L"）";
    try {
        EnsureKeywordFile(kind);
        list = ParseKeywordLines(files_.ReadText(SyntaxOf(kind)), kind, log_);
    } catch (const std::exception& error) {
        list.clear();
        notifier_.NotifyUtf8(WideToUtf8(L"次の理由で、" + listName + L"の読み込みに失敗しました。\n\n理由：") + error.what(),
                             WideToUtf8(L"エラー"), NotifyKind::Error);
    } catch (...) {
        list.clear();
        notifier_.Notify(listName + L"の読み込みに失敗しました。", L"エラー", NotifyKind::Error);
    }
    KeywordPrefilter& prefilter = kind == KeywordKind::Wildcard ? wildcardPrefilter_ : regexPrefilter_;
    try {
        prefilter = KeywordPrefilter(list);
    } catch (const std::bad_alloc&) {
        prefilter = KeywordPrefilter();  // covers no list: searches run unfiltered
    }
}

void KeywordLists::Reload() {
    ReloadList(KeywordKind::Wildcard);
    ReloadList(KeywordKind::Regex);
}

}  // namespace veltrano
