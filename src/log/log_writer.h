#pragma once
// Per-day log files: one UTF-8 line per event, each category switchable, off unless UseLog; and
// the Windows event log, off unless UseEventLog.
#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/local_clock.h"
#include "log/event_log.h"
#include "log/secret_tag.h"
#include "settings/settings.h"
#include "storage/data_paths.h"

namespace veltrano {

enum class LogCategory : int {
    KeywordSearch = 0,
    ManualReplace = 1,
    AutoReplace = 2,
    ClipboardHistory = 3,
    ClipboardFavorites = 4,
    Other = 5,
};

// "[hh:mm:ss.mmm][Category][title]message\r\n"; empty for a category outside 0 to 5.
std::wstring FormatLogLine(LogCategory category, const SYSTEMTIME& time, std::wstring_view title,
                           std::wstring_view message);

class LogWriter {
public:
    LogWriter(const Settings& settings, const DataPaths& paths, const LocalClock& clock)
        : settings_(settings), paths_(paths), clock_(clock) {}

    // Appends one line to today's file when enabled; every failure is a silent no-op.
    void WriteLog(LogCategory category, std::wstring_view title, std::wstring_view message);

    // A copied or replaced text as a log line may hold it: itself, or with LogMaskSecrets only its
    // length and tag (SecretTag; just its length when no key can be had). Never throws.
    std::wstring Quote(std::wstring_view text);
    // The text as its length and tag whatever the switches (just its length when no key can be
    // had), for what leaves the machine. Never throws.
    std::wstring Tag(std::wstring_view text);

    bool EventsOn() const { return settings_.UseEventLog(); }
    // Whether LogMaskSecrets keeps copied texts out of the lines and events.
    bool MasksSecrets() const { return settings_.LogMaskSecrets(); }
    // The Windows event log, when UseEventLog is on; inserts hold no copied text. Never throws.
    void ReportEvent(EventId id, std::vector<std::wstring> inserts) noexcept { events_.Report(id, std::move(inserts)); }

    bool IsLogEnabled(LogCategory category) const;
    std::wstring LogFolderPath() const;
    std::wstring LogFilePath() const;
    // Creates today's file, starting with a UTF-8 byte order mark, when it is missing.
    void EnsureLogFile() const;

private:
    static std::wstring LengthOnly(std::wstring_view text);
    std::wstring LogFilePathFor(const SYSTEMTIME& day) const;
    void EnsureLogFileAt(const std::wstring& path) const;

    const Settings& settings_;
    const DataPaths& paths_;
    const LocalClock& clock_;
    std::mutex logMutex_;
    std::mutex keyMutex_;
    std::optional<SecretTagKey> key_;  // read or made at the first masked line
    EventLog events_{settings_};
};

}  // namespace veltrano
