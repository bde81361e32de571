#pragma once
#include <string>
#include <vector>

#include "base/notifier.h"

namespace veltrano::test {

struct Notification {
    std::wstring body;
    std::wstring title;
    NotifyKind kind;
};

class RecordingNotifier final : public Notifier {
public:
    void Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) override {
        notifications.push_back({body, title, kind});
    }
    std::vector<Notification> notifications;
    int fallbackBoxes = 0;

protected:
    void ShowFallbackBox() noexcept override { ++fallbackBoxes; }
};

}  // namespace veltrano::test
