#pragma once
// Shows every notification as a message box on a worker thread of its own,
// so the caller never waits for the user.
#include <windows.h>

#include "notify/notifier.h"

namespace veltrano {

class MessageBoxNotifier final : public Notifier {
public:
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    void Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace veltrano
