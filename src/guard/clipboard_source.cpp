#include "guard/clipboard_source.h"

#include "base/unique_any.h"

namespace veltrano {
namespace {

// The longest path QueryFullProcessImageNameW can give.
constexpr DWORD kLongestPath = 32768;

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    return window && ::GetWindowThreadProcessId(window, &processId) ? processId : 0;
}

std::wstring ProgramFileNameOf(DWORD processId) {
    if (processId == 0) return {};
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    std::wstring path(kLongestPath, L'\0');
    DWORD length = kLongestPath;
    if (!::QueryFullProcessImageNameW(process.Get(), 0, path.data(), &length)) return {};
    path.resize(length);
    return path.substr(path.find_last_of(L"\\/") + 1);
}

std::wstring_view TrimBlanks(std::wstring_view text) {
    constexpr std::wstring_view kBlanks = L" \t\u3000";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

ClipboardSource CurrentClipboardSource() {
    ClipboardSource source;
    HWND window = ::GetClipboardOwner();
    if (!window) {
        window = ::GetForegroundWindow();
        source.guessed = true;
    }
    const DWORD processId = ProcessOf(window);
    // Its own copies have its window as owner: a guess that names this program is wrong.
    if (!source.guessed || processId != ::GetCurrentProcessId()) source.program = ProgramFileNameOf(processId);
    if (source.program.empty()) source = {kUnknownProgram, false};
    return source;
}

}  // namespace

ArrivedClipboardSource TakeArrivedClipboardSource() {
    const DWORD sequence = ::GetClipboardSequenceNumber();
    return {sequence, CurrentClipboardSource()};
}

ClipboardSource ClipboardSourceProgram(DWORD sequence, const std::optional<ArrivedClipboardSource>& arrived) {
    if (arrived && arrived->sequence == sequence) return arrived->source;
    return CurrentClipboardSource();
}

bool IsListedProgram(std::wstring_view list, std::wstring_view program) {
    if (program.empty()) return false;
    while (!list.empty()) {
        const size_t end = list.find(L';');
        const std::wstring_view entry = TrimBlanks(list.substr(0, end));
        if (!entry.empty() && ::CompareStringOrdinal(entry.data(), static_cast<int>(entry.size()), program.data(),
                                                     static_cast<int>(program.size()), TRUE) == CSTR_EQUAL) {
            return true;
        }
        if (end == std::wstring_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return false;
}

}  // namespace veltrano
