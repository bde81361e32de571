#pragma once
#include <stdexcept>
#include <string>
#include <vector>

#include "base/notifier.h"

namespace veltrano::test {

struct Notification {
    std::wstring body;
    std::wstring title;
    NotifyKind kind;
    std::wstring spokenBody;  // what speech reads
};

class RecordingNotifier final : public Notifier {
public:
    void Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) override {
        NotifyWithSpokenBody(body, body, title, kind);
    }
    void NotifyWithSpokenBody(const std::wstring& body, const std::wstring& spokenBody, const std::wstring& title,
                              NotifyKind kind) override {
        if (failuresLeft > 0 && failuresLeft--) throw std::runtime_error("no thread for the message box");
        notifications.push_back({body, title, kind, spokenBody});
    }
    std::vector<Notification> notifications;
    int failuresLeft = 0;  // so many notifications throw first, as when no thread can be started
    int fallbackBoxes = 0;

protected:
    void ShowFallbackBox() noexcept override { ++fallbackBoxes; }
};

}  // namespace veltrano::test
