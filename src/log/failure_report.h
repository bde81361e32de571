#pragma once
// How a failure that ends an operation at a boundary reaches the user: logged and shown as an
// error, with the reason after an opening that says what failed.
#include <string_view>

#include "base/notifier.h"
#include "log/log_writer.h"

namespace veltrano {

struct FailureReport {
    LogCategory category;
    std::wstring_view title;    // of the log line and the notification
    std::wstring_view opening;  // the body before the reason
};

// Never throws: a report that fails too (no thread for the notification could be started) has
// nobody left to tell, and the next failure tries again.
void ReportFailure(LogWriter& log, Notifier& notifier, const FailureReport& report, std::wstring_view reason) noexcept;

}  // namespace veltrano
