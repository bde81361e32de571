#include "matching/list_file_lines.h"

namespace veltrano {
namespace {

std::wstring_view TrimLineEnds(std::wstring_view line) {
    const size_t first = line.find_first_not_of(L"\r\n");
    if (first == std::wstring_view::npos) return {};
    const size_t last = line.find_last_not_of(L"\r\n");
    return line.substr(first, last - first + 1);
}

}  // namespace

void ForEachListLine(std::wstring_view text, const std::function<void(size_t, std::wstring_view)>& visit) {
    size_t lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        ++lineNumber;
        const std::wstring_view line = TrimLineEnds(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == L'#') continue;
        visit(lineNumber, line);
    }
}

}  // namespace veltrano
