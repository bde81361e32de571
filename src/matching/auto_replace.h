#pragma once
// Automatic replacement: every automatic definition runs over each copied text, and a changed
// text is put back on the clipboard, behind the guard against chains that feed on themselves.
#include <optional>
#include <string>
#include <vector>

#include "base/clipboard_writer.h"
#include "base/notifier.h"
#include "log/log_writer.h"
#include "matching/auto_replace_guard.h"
#include "matching/replacement_definitions.h"
#include "regex/bounded_match.h"
#include "settings/settings.h"

namespace veltrano {

inline constexpr const wchar_t* kAutoReplaceTitle = L"クリップボード自動置換実行";

// What one definition changed, kept for its log line.
struct ReplaceChangeRecord {
    DefinitionKind kind = DefinitionKind::Regex;
    std::wstring definitionLine;
    std::wstring pattern;
    std::wstring replacement;
    std::wstring before;
    std::wstring after;
};

// The definition whose match was aborted; the whole pass then counts as no change.
struct StoppedDefinition {
    DefinitionKind kind = DefinitionKind::Regex;
    std::wstring definitionLine;
    MatchAborted::Reason reason = MatchAborted::Reason::PatternTooSlow;
};

struct AutoReplaceOutcome {
    bool changed = false;
    std::wstring text;
    std::vector<ReplaceChangeRecord> records;  // one per definition that changed its input, in order
    std::optional<StoppedDefinition> stopped;  // when set: changed is false, text is the input
};

// The wildcard automatic list, then the regex one, each definition on the previous one's result.
// No side effects. Runs on the calling thread: use RunOnLargeStack for long texts.
AutoReplaceOutcome ApplyAutoReplaceDefinitions(const ReplacementDefinitions& definitions, const std::wstring& text,
                                               MatchBudget& budget);

// The log message of one change: "タイプ: … / 置換定義行: … / … / 置換後: …".
std::wstring ChangeLogText(const ReplaceChangeRecord& record, LogWriter& log);

class AutoReplace {
public:
    AutoReplace(const Settings& settings, ReplacementDefinitions& definitions, AutoReplaceGuard& guard,
                ClipboardWriter& clipboard, Notifier& notifier, LogWriter& log)
        : settings_(settings),
          definitions_(definitions),
          guard_(guard),
          clipboard_(clipboard),
          notifier_(notifier),
          log_(log) {}
    AutoReplace(const AutoReplace&) = delete;
    AutoReplace& operator=(const AutoReplace&) = delete;

    // True when the clipboard was rewritten: the pipeline then stops, the new text comes back
    // as an update of its own. False leaves the pipeline to go on with `text`. May show the
    // guard's modal question. Errors other than an aborted match propagate. The result keeps the
    // copy's history use.
    bool RunAutoReplace(const std::wstring& text, HistoryUse historyUse, std::wstring_view source = {});

    // True exactly when the latest RunAutoReplace rewrote the clipboard.
    bool LastUpdateWasAutoReplace() const noexcept { return lastUpdateWasAutoReplace_; }

private:
    void LogRefused(const wchar_t* why, const std::wstring& before, const std::wstring& after);
    void ReportStopped(const StoppedDefinition& stopped);
    void ReportWriteFailure(const std::wstring& before, const std::wstring& after);

    const Settings& settings_;
    ReplacementDefinitions& definitions_;
    AutoReplaceGuard& guard_;
    ClipboardWriter& clipboard_;
    Notifier& notifier_;
    LogWriter& log_;
    bool lastUpdateWasAutoReplace_ = false;
};

}  // namespace veltrano
