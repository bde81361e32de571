#include "log/event_log.h"

#define SECURITY_WIN32
#include <security.h>

#include "base/error_text.h"
#include "storage/data_paths.h"

namespace veltrano {
namespace {

constexpr wchar_t kSourceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Veltrano";

// The severity lies in the id's top two bits, as the message compiler put it.
WORD EventType(EventId id) {
    switch (static_cast<DWORD>(id) >> 30) {
        case 1: return EVENTLOG_INFORMATION_TYPE;
        case 2: return EVENTLOG_WARNING_TYPE;
        case 3: return EVENTLOG_ERROR_TYPE;
    }
    return EVENTLOG_SUCCESS;
}

// DOMAIN\user, as an administrator finds the user in a directory; the bare name where there is none.
std::wstring QualifiedUserName() {
    wchar_t name[512];
    ULONG size = static_cast<ULONG>(std::size(name));
    if (::GetUserNameExW(NameSamCompatible, name, &size)) return name;
    const std::wstring bare = UserName();
    return bare.empty() ? L"不明" : bare;
}

// The TOKEN_USER of the process, whose SID each event carries; empty when it cannot be read.
std::vector<BYTE> ProcessUser() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, user.data(), size, &size)) user.clear();
    ::CloseHandle(token);
    return user;
}

std::wstring Failure(const wchar_t* step, LSTATUS status) {
    return std::wstring(step) + L": " + SystemErrorText(static_cast<DWORD>(status));
}

}  // namespace

EventLog::~EventLog() {
    if (source_) ::DeregisterEventSource(source_);
}

void EventLog::Report(EventId id, std::vector<std::wstring> inserts) noexcept {
    try {
        if (!settings_.UseEventLog()) return;
        const std::lock_guard lock(mutex_);
        if (!source_) {
            source_ = ::RegisterEventSourceW(nullptr, kEventSourceName);
            user_ = QualifiedUserName();
            tokenUser_ = ProcessUser();
        }
        if (!source_) return;
        inserts.push_back(user_);
        std::vector<const wchar_t*> strings;
        for (const std::wstring& insert : inserts) strings.push_back(insert.c_str());
        const PSID sid = tokenUser_.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(tokenUser_.data())->User.Sid;
        ::ReportEventW(source_, EventType(id), 0, static_cast<DWORD>(id), sid, static_cast<WORD>(strings.size()), 0,
                       strings.data(), nullptr);
    } catch (...) {
        // Out of memory: the file log still holds the event.
    }
}

std::wstring RegisterEventSource(const std::wstring& programPath) {
    HKEY key = nullptr;
    LSTATUS status = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return Failure(L"RegCreateKeyExW", status);
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    status = ::RegSetValueExW(key, L"EventMessageFile", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(programPath.c_str()),
                              static_cast<DWORD>((programPath.size() + 1) * sizeof(wchar_t)));
    if (status == ERROR_SUCCESS) {
        status = ::RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types), sizeof types);
    }
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS ? L"" : Failure(L"RegSetValueExW", status);
}

std::wstring UnregisterEventSource() {
    const LSTATUS status = ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSourceKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? L"" : Failure(L"RegDeleteTreeW", status);
}

std::optional<std::wstring> RegisteredEventMessageFile() {
    wchar_t file[MAX_PATH * 2] = L"";
    DWORD size = sizeof file - sizeof(wchar_t);
    const LSTATUS status = ::RegGetValueW(HKEY_LOCAL_MACHINE, kSourceKey, L"EventMessageFile",
                                          RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, file, &size);
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    return status == ERROR_SUCCESS ? std::wstring(file) : std::wstring();
}

}  // namespace veltrano
