#include "matching/keyword_lists.h"

#include "matching/bounded_match.h"
#include "matching/keyword_templates.h"
#include "storage/file_system.h"
#include "storage/text_encoding.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

constexpr std::wstring_view kIgnoreCasePrefix = L"[i]";

std::wstring_view TrimLineEnds(std::wstring_view line) {
    const size_t first = line.find_first_not_of(L"\r\n");
    if (first == std::wstring_view::npos) return {};
    const size_t last = line.find_last_not_of(L"\r\n");
    return line.substr(first, last - first + 1);
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
    }
    return entry;
}

}  // namespace

const wchar_t* KeywordKindName(KeywordKind kind) {
    return kind == KeywordKind::Wildcard ? L"ワイルドカード" : L"正規表現";
}

KeywordList ParseKeywordLines(std::wstring_view text, KeywordKind kind, LogWriter& log) {
    KeywordList list;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        ++lineNumber;
        const std::wstring_view line = TrimLineEnds(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == L'#') continue;
        try {
            list.push_back(CompileKeyword(line, kind));
        } catch (const std::regex_error& error) {
            log.WriteLog(LogCategory::Other, L"キーワード解析エラー",
                         std::wstring(L"タイプ: ") + KeywordKindName(kind) + L" / 行番号: " +
                             std::to_wstring(lineNumber) + L" / " + Utf8ToWide(error.what()) + L" / 記述内容: " +
                             std::wstring(line));
        }
    }
    return list;
}

ListFileFamily KeywordLists::Family() {
    return ListFileFamily{
        .name = L"キーワードファイル",
        .readSetting = [this] { return settings_.EncryptKeywordFile(); },
        .writeSetting = [this](bool value) { settings_.SetEncryptKeywordFile(value); },
        .files =
            [this] {
                std::vector<ListFile> files;
                for (KeywordKind kind : {KeywordKind::Wildcard, KeywordKind::Regex}) {
                    files.push_back({KeywordFilePath(kind, false), KeywordFilePath(kind, true),
                                     [this, kind] { EnsureKeywordFile(kind); }});
                }
                return files;
            },
        .reload = [this] { Reload(); },
    };
}

std::wstring KeywordLists::KeywordFilePath(KeywordKind kind, bool encrypted) const {
    return paths_.DataFile(kind == KeywordKind::Wildcard ? L"_wildcard_keywords" : L"_regex_keywords",
                           encrypted ? L".bin" : L".txt");
}

void KeywordLists::EnsureKeywordFile(KeywordKind kind) {
    const bool encrypted = settings_.EncryptKeywordFile();
    const std::wstring path = KeywordFilePath(kind, encrypted);
    if (path.empty() || FileExists(path)) return;
    if (encrypted) {
        // The switch writes the setting first, so this recursion is one level deep.
        if (encryption_) encryption_->Set(false);
        if (!settings_.EncryptKeywordFile()) EnsureKeywordFile(kind);
        return;
    }
    try {
        WriteUtf8TextFile(path, WideToUtf8(KeywordTemplate(kind)));
    } catch (const std::runtime_error&) {
        // Not reported here: the load that follows reports the file as unreadable.
    }
}

KeywordList KeywordLists::LoadKeywordFile(KeywordKind kind) {
    const bool encrypted = settings_.EncryptKeywordFile();
    const std::wstring path = KeywordFilePath(kind, encrypted);
    const std::string content = encrypted ? ReadEncryptedFile(path) : ReadUtf8TextFile(path);
    return ParseKeywordLines(Utf8ToWide(content), kind, log_);
}

void KeywordLists::ReloadList(KeywordKind kind) {
    KeywordList& list = kind == KeywordKind::Wildcard ? wildcard_ : regex_;
    const std::wstring listName = std::wstring(L"監視キーワードリスト（") + KeywordKindName(kind) + L"）";
    try {
        EnsureKeywordFile(kind);
        list = LoadKeywordFile(kind);
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
