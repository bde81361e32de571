#include "log/log_writer.h"

#include <cwchar>
#include <iterator>
#include <stdexcept>

#include "base/text_encoding.h"
#include "base/unique_any.h"
#include "storage/file_system.h"

namespace veltrano {
namespace {

const wchar_t* CategoryName(LogCategory category) {
    switch (category) {
        case LogCategory::KeywordSearch: return L"KeywordSearch";
        case LogCategory::ManualReplace: return L"ManualReplace";
        case LogCategory::AutoReplace: return L"AutoReplace";
        case LogCategory::ClipboardHistory: return L"ClipboardHistory";
        case LogCategory::ClipboardFavorites: return L"ClipboardFavorites";
        case LogCategory::Other: return L"Other";
    }
    return nullptr;
}

bool WriteBytes(HANDLE file, std::string_view bytes) {
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

std::wstring FormatLogLine(LogCategory category, const SYSTEMTIME& time, std::wstring_view title,
                           std::wstring_view message) {
    const wchar_t* name = CategoryName(category);
    if (!name) return {};
    wchar_t stamp[16];
    swprintf(stamp, std::size(stamp), L"%02u:%02u:%02u.%03u", time.wHour, time.wMinute, time.wSecond,
             time.wMilliseconds);
    std::wstring line;
    line.reserve(32 + title.size() + message.size());
    line.append(L"[").append(stamp).append(L"][").append(name).append(L"][");
    line.append(title).append(L"]").append(message).append(L"\r\n");
    return line;
}

bool LogWriter::IsLogEnabled(LogCategory category) const {
    if (!CategoryName(category) || !settings_.UseLog()) return false;
    switch (category) {
        case LogCategory::KeywordSearch: return settings_.LogKeywordSearch();
        case LogCategory::ManualReplace: return settings_.LogManualReplace();
        case LogCategory::AutoReplace: return settings_.LogAutoReplace();
        case LogCategory::ClipboardHistory: return settings_.LogClipboardHistory();
        case LogCategory::ClipboardFavorites: return settings_.LogClipboardFavorites();
        case LogCategory::Other: return settings_.LogOther();
    }
    return false;
}

std::wstring LogWriter::LogFolderPath() const { return paths_.DataFolder(L"_log"); }

std::wstring LogWriter::LogFilePath() const { return LogFilePathFor(clock_.Now()); }

std::wstring LogWriter::LogFilePathFor(const SYSTEMTIME& day) const {
    const std::wstring folder = LogFolderPath();
    if (folder.empty()) return {};
    wchar_t name[32];
    swprintf(name, std::size(name), L"%04u_%02u_%02u.txt", day.wYear, day.wMonth, day.wDay);
    return folder + L"\\" + name;
}

void LogWriter::EnsureLogFile() const {
    if (!settings_.UseLog()) return;
    EnsureLogFileAt(LogFilePath());
}

void LogWriter::EnsureLogFileAt(const std::wstring& path) const {
    if (path.empty()) return;
    try {
        if (FileExists(path)) return;
    } catch (const std::runtime_error&) {
        return;  // a failed existence test (access denied, say) is skipped like any other log failure
    }
    const std::wstring folder = LogFolderPath();
    if (folder.empty() || !CreateFolders(folder)) return;
    // CREATE_NEW: a file another writer started in the meantime keeps its lines.
    UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) WriteBytes(file.Get(), "\xEF\xBB\xBF");
}

std::wstring LogWriter::Quote(std::wstring_view text) {
    if (!settings_.LogMaskSecrets()) return std::wstring(text);
    if (!settings_.UseLog()) return LengthOnly(text);  // no line is written: no key is made for it
    return Tag(text);
}

std::wstring LogWriter::Tag(std::wstring_view text) {
    try {
        std::lock_guard lock(keyMutex_);
        if (!key_) {
            const std::wstring path = paths_.DataFile(L"_logkey", L".bin");
            const LoadedSecretTagKey loaded = LoadOrCreateSecretTagKey(path);
            key_ = loaded.key;
            if (loaded.replaced) {
                WriteLog(LogCategory::Other, L"ログ用の鍵",
                         L"鍵ファイルが読めないため、新しい鍵に置き換えました。 file=" + path);
            }
        }
        return SecretTag(text, *key_);
    } catch (...) {
        return LengthOnly(text);
    }
}

std::wstring LogWriter::LengthOnly(std::wstring_view text) {
    return L"<" + std::to_wstring(CharacterCount(text)) + L"文字>";
}

void LogWriter::WriteLog(LogCategory category, std::wstring_view title, std::wstring_view message) {
    if (!IsLogEnabled(category)) return;
    std::lock_guard lock(logMutex_);
    // One reading of the date for both the existence check and the append, so a line written
    // across midnight never lands in a file that was created without its byte order mark.
    const std::wstring path = LogFilePathFor(clock_.Now());
    EnsureLogFileAt(path);
    std::string bytes;
    try {
        bytes = WideToUtf8(FormatLogLine(category, clock_.Now(), title, message));
    } catch (const std::runtime_error&) {
        return;  // too long to convert
    }
    if (path.empty() || bytes.empty()) return;
    UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) WriteBytes(file.Get(), bytes);
}

}  // namespace veltrano
