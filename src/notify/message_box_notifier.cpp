#include "notify/message_box_notifier.h"

#include <thread>

namespace veltrano {
namespace {

UINT IconOf(NotifyKind kind) {
    switch (kind) {
        case NotifyKind::Warning: return MB_ICONWARNING;
        case NotifyKind::Error: return MB_ICONERROR;
        case NotifyKind::Info: break;
    }
    return MB_ICONINFORMATION;
}

}  // namespace

void MessageBoxNotifier::Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) {
    HWND owner = ::IsWindow(owner_) ? owner_ : nullptr;
    std::thread([owner, body, caption = MakeCaption(title), icon = IconOf(kind)] {
        ::MessageBoxW(owner, body.c_str(), caption.c_str(), MB_OK | icon);
    }).detach();
}

}  // namespace veltrano
