#pragma once
// The self-test: every platform part the guard needs, checked on the user's own Windows through
// the very code the program uses, written as a report. It changes nothing of the user's
// clipboard, settings or data files (scratch files it writes are deleted again).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "storage/data_paths.h"

namespace veltrano {

enum class CheckOutcome { Passed, Failed, NotApplicable };

// What one check found, and what to tell about it (a failure's error text).
struct CheckVerdict {
    CheckOutcome outcome = CheckOutcome::Passed;
    std::wstring detail;
};

struct SelfTestCheck {
    std::wstring name;
    std::function<CheckVerdict()> run;  // an exception fails the check with its text
};

struct CheckLine {
    std::wstring name;
    CheckVerdict verdict;
    double milliseconds = 0;
};

// Runs the checks in order, each timed.
std::vector<CheckLine> RunChecks(const std::vector<SelfTestCheck>& checks);

// Every check, in the report's order. The calling thread must be in the multi-threaded apartment.
std::vector<CheckLine> RunSelfTest(HINSTANCE instance, const DataPaths& paths);

size_t FailedChecks(const std::vector<CheckLine>& lines);

// The report: header lines (version, Windows, Wine, user, program folder), a blank line, then
// "name TAB outcome TAB milliseconds TAB detail" per check; CRLF line ends.
std::wstring SelfTestReportText(const std::vector<CheckLine>& lines, const DataPaths& paths);

// "<user>_selftest.txt" in the program folder.
std::wstring DefaultSelfTestReportPath(const DataPaths& paths);

// Runs every check and writes the report (UTF-8 with BOM) to `reportPath`; the number of failed
// checks. Throws std::runtime_error when the report cannot be written.
size_t RunSelfTestInto(HINSTANCE instance, const DataPaths& paths, const std::wstring& reportPath);

}  // namespace veltrano
