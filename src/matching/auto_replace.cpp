#include "matching/auto_replace.h"

#include "regex/bounded_match.h"
#include "regex/large_stack.h"
#include "regex/match_stop_text.h"

namespace veltrano {
namespace {

// Both matching stages of one clipboard update get the same allowance.
constexpr auto kAutoReplaceTimeBudget = kSearchTimeBudget;

constexpr const wchar_t* kStoppedTitle = L"クリップボード自動置換中断";
constexpr const wchar_t* kRefusedTitle = L"クリップボード連続自動置換を中止";
constexpr const wchar_t* kProhibitedText =
    L"連続自動置換が禁止設定の為、この自動置換を無効とし、連続自動置換を中止しました。";
constexpr const wchar_t* kDeclinedText =
    L"メッセージボックスで連続自動置換の中止が選択された為、この自動置換を無効とし、連続自動置換を中止しました。";
constexpr const wchar_t* kWriteFailedTitle = L"クリップボード更新失敗";
constexpr const wchar_t* kWriteFailedText = L"クリップボードの更新に失敗しました。";

std::wstring BeforeAfterLogText(const std::wstring& before, const std::wstring& after, LogWriter& log) {
    return L" / 置換前: " + log.Quote(before) + L" / 置換後: " + log.Quote(after);
}

bool HasAutomaticDefinitions(const ReplacementDefinitions& definitions) {
    return !definitions.Automatic(DefinitionKind::Wildcard).empty() ||
           !definitions.Automatic(DefinitionKind::Regex).empty();
}

}  // namespace

AutoReplaceOutcome ApplyAutoReplaceDefinitions(const ReplacementDefinitions& definitions, const std::wstring& text,
                                               MatchBudget& budget) {
    AutoReplaceOutcome outcome;
    outcome.text = text;
    for (const DefinitionKind kind : kPatternSyntaxes) {
        for (const ReplacementDefinition& definition : definitions.Automatic(kind)) {
            std::wstring after;
            try {
                after = ApplyReplacement(outcome.text, definition, budget);
            } catch (const MatchAborted& aborted) {
                // A partial pass would rewrite the clipboard with only some definitions applied.
                AutoReplaceOutcome unchanged;
                unchanged.text = text;
                unchanged.stopped = StoppedDefinition{kind, definition.lineText, aborted.reason()};
                return unchanged;
            }
            if (after != outcome.text) {
                outcome.changed = true;
                outcome.records.push_back(ReplaceChangeRecord{kind, definition.lineText, definition.patternText,
                                                              definition.replacement, outcome.text, after});
            }
            outcome.text = std::move(after);
        }
    }
    return outcome;
}

std::wstring ChangeLogText(const ReplaceChangeRecord& record, LogWriter& log) {
    return std::wstring(L"タイプ: ") + PatternSyntaxName(record.kind) + L" / 置換定義行: " + record.definitionLine +
           L" / 置換パターン: " + record.pattern + L" / 置換文字列: " + record.replacement +
           BeforeAfterLogText(record.before, record.after, log);
}

bool AutoReplace::RunAutoReplace(const std::wstring& text, HistoryUse historyUse, std::wstring_view source) {
    // Cleared first, so that a run that ends early or by an exception never leaves it set.
    lastUpdateWasAutoReplace_ = false;
    definitions_.ReloadChanged();
    if (!HasAutomaticDefinitions(definitions_)) return false;  // spares the thread

    const AutoReplaceOutcome outcome = RunOnLargeStack([&] {
        MatchBudget budget(kAutoReplaceTimeBudget);
        return ApplyAutoReplaceDefinitions(definitions_, text, budget);
    });
    if (outcome.stopped) {
        ReportStopped(*outcome.stopped);
        return false;
    }
    if (!outcome.changed || outcome.text == text) return false;

    switch (guard_.CheckConsecutiveAutoReplace(text)) {
        case AutoReplaceVerdict::Prohibited: LogRefused(kProhibitedText, text, outcome.text); return false;
        case AutoReplaceVerdict::DeclinedByUser: LogRefused(kDeclinedText, text, outcome.text); return false;
        case AutoReplaceVerdict::Proceed: break;
    }

    if (!clipboard_.Write(outcome.text, nullptr, historyUse)) {
        // Not recorded in the guard: nothing was written that could come back as a chain.
        ReportWriteFailure(text, outcome.text);
        return false;
    }
    guard_.RecordAcceptedResult(outcome.text);
    if (settings_.NotifyAfterAutoReplace()) {
        notifier_.Notify(L"置換前: " + text + L"\n置換後: " + outcome.text, kAutoReplaceTitle, NotifyKind::Info);
    }
    for (const ReplaceChangeRecord& record : outcome.records) {
        log_.WriteLog(LogCategory::AutoReplace, kAutoReplaceTitle, ChangeLogText(record, log_));
    }
    if (log_.EventsOn()) log_.ReportEvent(EventId::AutoReplace, {log_.Tag(text), log_.Tag(outcome.text), std::wstring(source)});
    lastUpdateWasAutoReplace_ = true;
    return true;
}

void AutoReplace::LogRefused(const wchar_t* why, const std::wstring& before, const std::wstring& after) {
    log_.WriteLog(LogCategory::AutoReplace, kRefusedTitle, why + BeforeAfterLogText(before, after, log_));
}

void AutoReplace::ReportStopped(const StoppedDefinition& stopped) {
    notifier_.Notify(std::wstring(L"次の理由で、クリップボードの自動置換を中断しました。\n\n理由：") +
                         MatchStopReasonText(stopped.reason, L"置換定義") + L"\n置換定義行: " + stopped.definitionLine,
                     kStoppedTitle, NotifyKind::Error);
    log_.WriteLog(LogCategory::AutoReplace, kStoppedTitle,
                  std::wstring(L"タイプ: ") + PatternSyntaxName(stopped.kind) + L" / 置換定義行: " +
                      stopped.definitionLine + L" / 理由: " + MatchStopReasonText(stopped.reason, L"置換定義"));
}

void AutoReplace::ReportWriteFailure(const std::wstring& before, const std::wstring& after) {
    notifier_.Notify(kWriteFailedText, kWriteFailedTitle, NotifyKind::Error);
    log_.WriteLog(LogCategory::AutoReplace, kWriteFailedTitle, kWriteFailedText + BeforeAfterLogText(before, after, log_));
}

}  // namespace veltrano
