#pragma once
// Detections and the guard's own state in the Windows Application log, under the source
// "Veltrano", whose texts are the message table compiled into the program; an organisation
// collects them centrally (event forwarding, any SIEM agent). Off unless UseEventLog.
#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "events.h"
#include "settings/settings.h"

namespace veltrano {

enum class EventId : DWORD {
    Detection = VELTRANO_EVENT_DETECTION,
    AutoReplace = VELTRANO_EVENT_AUTO_REPLACE,
    Cleared = VELTRANO_EVENT_CLEARED,
    SearchStopped = VELTRANO_EVENT_SEARCH_STOPPED,
    ListenerRenewed = VELTRANO_EVENT_LISTENER_RENEWED,
    OrganizationListsFailed = VELTRANO_EVENT_ORGANIZATION_LISTS_FAILED,
    OrganizationListsRead = VELTRANO_EVENT_ORGANIZATION_LISTS_READ,
    Started = VELTRANO_EVENT_STARTED,
    Stopped = VELTRANO_EVENT_STOPPED,
    PolicyValueIgnored = VELTRANO_EVENT_POLICY_VALUE_IGNORED,
};

inline constexpr wchar_t kEventSourceName[] = L"Veltrano";

class EventLog {
public:
    explicit EventLog(const Settings& settings) : settings_(settings) {}
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Reports the event with `inserts` and the user's domain-qualified name as the last one, and
    // the user's SID, when UseEventLog is on. The inserts must hold no copied text. Failures are
    // silent: the file log still holds the event. Never throws.
    void Report(EventId id, std::vector<std::wstring> inserts) noexcept;

private:
    const Settings& settings_;
    std::mutex mutex_;
    HANDLE source_ = nullptr;
    std::wstring user_;
    std::vector<BYTE> tokenUser_;  // a TOKEN_USER, whose SID points into it
};

// The registry key that names the program's message table for the source (needs an
// administrator): "" when done, else the error's text.
std::wstring RegisterEventSource(const std::wstring& programPath);
std::wstring UnregisterEventSource();
// The message file the registered source names, or nullopt when the source is not registered.
std::optional<std::wstring> RegisteredEventMessageFile();

}  // namespace veltrano
