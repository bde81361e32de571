#include "selftest/self_test.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "base/text_encoding.h"
#include "base/windows_version.h"
#include "resource.h"
#include "selftest/guard_checks.h"
#include "selftest/platform_checks.h"
#include "selftest/speech_checks.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

const wchar_t* OutcomeText(CheckOutcome outcome) {
    switch (outcome) {
        case CheckOutcome::Passed: return L"成功";
        case CheckOutcome::Failed: return L"失敗";
        case CheckOutcome::NotApplicable: return L"対象外";
    }
    return L"";
}

// One line per field: tabs and line ends inside a detail would break the report's columns.
std::wstring OneLine(std::wstring text) {
    std::replace_if(text.begin(), text.end(), [](wchar_t c) { return c == L'\t' || c == L'\r' || c == L'\n'; }, L' ');
    return text;
}

std::wstring WindowsVersionText() {
    const std::optional<WindowsVersion> version = RunningWindowsVersion();
    if (!version) return L"不明";
    return std::to_wstring(version->major) + L"." + std::to_wstring(version->minor) + L" ビルド " +
           std::to_wstring(version->build);
}

}  // namespace

std::vector<CheckLine> RunChecks(const std::vector<SelfTestCheck>& checks) {
    std::vector<CheckLine> lines;
    for (const SelfTestCheck& check : checks) {
        const auto start = std::chrono::steady_clock::now();
        CheckVerdict verdict;
        try {
            verdict = check.run();
        } catch (const std::exception& error) {
            verdict = {CheckOutcome::Failed, Utf8ToWide(error.what())};
        } catch (...) {
            verdict = {CheckOutcome::Failed, L"予期しないエラー"};
        }
        lines.push_back({check.name, std::move(verdict),
                         std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count()});
    }
    return lines;
}

std::vector<CheckLine> RunSelfTest(HINSTANCE instance, const DataPaths& paths) {
    std::vector<SelfTestCheck> checks = PlatformChecks(instance, paths);
    for (std::vector<SelfTestCheck> more : {SpeechChecks(paths), GuardChecks(paths)}) {
        std::move(more.begin(), more.end(), std::back_inserter(checks));
    }
    return RunChecks(checks);
}

size_t FailedChecks(const std::vector<CheckLine>& lines) {
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [](const CheckLine& line) {
        return line.verdict.outcome == CheckOutcome::Failed;
    }));
}

std::wstring SelfTestReportText(const std::vector<CheckLine>& lines, const DataPaths& paths) {
    const auto folderCheck = std::find_if(lines.begin(), lines.end(),
                                          [](const CheckLine& line) { return line.name == kFolderCheckName; });
    const bool writable = folderCheck != lines.end() && folderCheck->verdict.outcome == CheckOutcome::Passed;
    std::wstring report = L"Veltrano 動作チェック\r\nバージョン: " L"" VELTRANO_VERSION L"\r\nWindows: " + WindowsVersionText() + L"\r\n";
    if (const std::wstring wine = WineVersion(); !wine.empty()) report += L"Wine: " + wine + L"\r\n";
    report += L"ユーザー: " + UserName() + L"\r\nプログラムフォルダ: " + paths.programFolder + L"\r\nデータフォルダ: " +
              paths.dataFolder + (writable ? L"（書き込みできます）" : L"（書き込みできません）") + L"\r\n\r\n";
    for (const CheckLine& line : lines) {
        wchar_t milliseconds[32];
        swprintf(milliseconds, std::size(milliseconds), L"%.1f", line.milliseconds);
        report += line.name + L"\t" + OutcomeText(line.verdict.outcome) + L"\t" + milliseconds + L"\t" +
                  OneLine(line.verdict.detail) + L"\r\n";
    }
    return report;
}

std::wstring DefaultSelfTestReportPath(const DataPaths& paths) { return paths.DataFile(L"_selftest", L".txt"); }

size_t RunSelfTestInto(HINSTANCE instance, const DataPaths& paths, const std::wstring& reportPath) {
    const std::vector<CheckLine> lines = RunSelfTest(instance, paths);
    WriteUtf8TextFile(reportPath, WideToUtf8(SelfTestReportText(lines, paths)));
    return FailedChecks(lines);
}

}  // namespace veltrano
