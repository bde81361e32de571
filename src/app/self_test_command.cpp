#include "app/self_test_command.h"

#include <objbase.h>

#include <exception>
#include <vector>

#include "app/command_line.h"
#include "base/com_apartment.h"
#include "base/text_encoding.h"
#include "selftest/self_test.h"
#include "storage/data_paths.h"

namespace veltrano {
namespace {

std::wstring FullPath(const std::wstring& path) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    return full;
}

}  // namespace

std::optional<int> RunSelfTestCommand(HINSTANCE instance, const std::wstring& commandLine) {
    const std::vector<std::wstring> arguments = CommandArguments(commandLine);
    if (arguments.empty() || !IsSwitch(arguments[0], L"SelfTest")) return std::nullopt;
    if (arguments.size() > 2) {
        WriteToStandardError(L"使い方: Veltrano.exe /SelfTest [レポートのパス]");
        return 1;
    }
    const ComApartment apartment(COINIT_MULTITHREADED);
    const DataPaths paths = DataPaths::ForThisProcess();
    const std::wstring report = arguments.size() == 2 ? FullPath(arguments[1]) : DefaultSelfTestReportPath(paths);
    size_t failed = 0;
    try {
        failed = RunSelfTestInto(instance, paths, report);
    } catch (const std::exception& error) {
        // No report is a failure too: a script must never read success from a missing file.
        WriteToStandardError(L"動作チェックのレポートを書けません: " + Utf8ToWide(error.what()));
        return 1;
    }
    WriteToStandardError(L"動作チェック: 失敗 " + std::to_wstring(failed) + L" 件。レポート: " + report);
    return static_cast<int>(failed);
}

}  // namespace veltrano
