#include "log/failure_report.h"

#include <string>

namespace veltrano {

void ReportFailure(LogWriter& log, Notifier& notifier, const FailureReport& report, std::wstring_view reason) noexcept {
    try {
        std::wstring body(report.opening);
        body += reason;
        log.WriteLog(report.category, report.title, body);
        notifier.Notify(body, std::wstring(report.title), NotifyKind::Error);
    } catch (...) {
        // Nothing is left to report with.
    }
}

}  // namespace veltrano
