#pragma once
// What the keyword lists and the replacement definitions share: their file pair, whose form
// follows one encryption setting; loading one list with its failure reported; and the log line
// of a line that does not parse.
#include <functional>
#include <string>
#include <string_view>

#include "base/notifier.h"
#include "base/pattern_syntax.h"
#include "log/log_writer.h"
#include "settings/settings.h"
#include "storage/list_file_pair.h"

namespace veltrano {

struct ListFamilyFiles {
    const wchar_t* familyName;  // as the encryption messages name the files
    const wchar_t* stemSuffix;  // after "_wildcard" or "_regex"
    const BoolSetting& encrypted;
    std::function<std::wstring(PatternSyntax)> templateText;
};

ListFilePair MakeListFilePair(const ListFamilyFiles& files, Settings& settings, const DataPaths& paths);

// A load the user asked for (start, reload, conversion) reports every failure; the re-read of a
// changed file before a copy reports only the first of a streak, as it tries again at each copy.
enum class FailureReport { Always, OncePerStreak };

// Makes the syntax's file exist, reads it and hands the text to `parse`, noting the file as loaded
// (ListFilePair::ChangedSinceLoaded). A failure is reported, as `report` says,
// as "次の理由で、<listName>の読み込みに失敗しました。\n\n理由：<reasonLead><reason>" and gives false.
bool LoadList(ListFilePair& files, PatternSyntax syntax, const std::wstring& listName, std::wstring_view reasonLead,
              FailureReport report, Notifier& notifier, const std::function<void(const std::wstring& text)>& parse);

// "タイプ: <syntax> / 行番号: <n> / <reason> / 記述内容: <line>" under `title` (category Other).
void LogUnparsedLine(LogWriter& log, const wchar_t* title, PatternSyntax syntax, size_t lineNumber,
                     std::wstring_view reason, std::wstring_view line);

}  // namespace veltrano
