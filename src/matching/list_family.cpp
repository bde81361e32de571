#include "matching/list_family.h"

#include <optional>

#include "base/text_encoding.h"

namespace veltrano {

ListFilePair MakeListFilePair(const ListFamilyFiles& files, Settings& settings, const DataPaths& paths) {
    const BoolSetting& encrypted = files.encrypted;
    return ListFilePair(
        ListFilePairSpec{
            .familyName = files.familyName,
            .stemSuffix = files.stemSuffix,
            .readEncrypted = [&settings, &encrypted] { return settings.Read(encrypted); },
            .writeEncrypted = [&settings, &encrypted](bool value) { return settings.Write(encrypted, value); },
            .encryptionHeld = [&settings, &encrypted] { return settings.HeldByPolicy(encrypted); },
            .settingsFile = settings.Ini().Path(),
            .templateText = files.templateText,
        },
        paths);
}

bool LoadList(ListFilePair& files, PatternSyntax syntax, const std::wstring& listName, std::wstring_view reasonLead,
              FailureReport report, Notifier& notifier, const std::function<void(const std::wstring& text)>& parse) {
    // Noted first: a change from here on, or a failure below, is seen by the next check.
    files.NoteLoaded(syntax);
    std::optional<std::string> reason;  // none when the error carried no message
    try {
        files.EnsureFile(syntax);
        parse(files.ReadText(syntax));
        files.NoteReadSucceeded(syntax);
        return true;
    } catch (const std::exception& error) {
        reason = error.what();
    } catch (...) {
    }
    if (files.NoteReadFailed(syntax) || report == FailureReport::Always) {
        if (reason) {
            notifier.NotifyUtf8(WideToUtf8(L"次の理由で、" + listName + L"の読み込みに失敗しました。\n\n理由：" +
                                           std::wstring(reasonLead)) +
                                    *reason,
                                WideToUtf8(L"エラー"), NotifyKind::Error);
        } else {
            notifier.Notify(listName + L"の読み込みに失敗しました。", L"エラー", NotifyKind::Error);
        }
    }
    return false;
}

void LogUnparsedLine(LogWriter& log, const wchar_t* title, PatternSyntax syntax, size_t lineNumber,
                     std::wstring_view reason, std::wstring_view line) {
    log.WriteLog(LogCategory::Other, title,
                 std::wstring(L"タイプ: ") + PatternSyntaxName(syntax) + L" / 行番号: " + std::to_wstring(lineNumber) +
                     L" / " + std::wstring(reason) + L" / 記述内容: " + std::wstring(line));
}

}  // namespace veltrano
