#include "notify/notification_dispatcher.h"

#include <process.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <system_error>
#include <utility>

#include "base/unique_any.h"
#include "notify/tray_icon.h"

namespace veltrano {
namespace {

constexpr UINT kBalloonTimeoutMs = 3000;

struct KindLook {
    DWORD balloonFlag;
    UINT boxIcon;
};

KindLook LookOf(NotifyKind kind) {
    switch (kind) {
        case NotifyKind::Warning: return {NIIF_WARNING, MB_ICONWARNING};
        case NotifyKind::Error: return {NIIF_ERROR, MB_ICONERROR};
        case NotifyKind::Info: break;
    }
    // Callers may pass any integer; everything unknown looks like Info.
    return {NIIF_INFO, MB_ICONINFORMATION};
}

// Nothing may escape a thread. A worker has nobody to report to: the dispatcher belongs to the
// user-interface thread, and failed speech is not shown to the user by design.
unsigned __stdcall RunWorker(void* parameter) {
    const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    try {
        (*work)();
    } catch (...) {
        ::OutputDebugStringW(L"Veltrano: a notification worker failed\n");
    }
    return 0;
}

// A plain Win32 thread, not std::thread: with this toolchain's thread library, detach() right after
// the start now and then loses the new thread or crashes it (seen under load, a few in a thousand).
void StartDetached(std::function<void()> work) {
    auto parameter = std::make_unique<std::function<void()>>(std::move(work));
    const uintptr_t thread = ::_beginthreadex(nullptr, 0, &RunWorker, parameter.get(), 0, nullptr);
    if (thread == 0) throw std::system_error(errno, std::generic_category(), "a notification worker could not start");
    parameter.release();  // the worker owns it now
    const UniqueHandle handle(reinterpret_cast<HANDLE>(thread));  // closing it leaves the thread running
}

}  // namespace

NotificationDispatcher::NotificationDispatcher(const Settings& settings)
    : NotificationDispatcher(settings, std::make_shared<DesktopSurface>()) {}

NotificationDispatcher::NotificationDispatcher(const Settings& settings, std::shared_ptr<NotificationSurface> surface)
    : settings_(settings), surface_(std::move(surface)) {}

void NotificationDispatcher::AttachWindow(HWND mainWindow) noexcept { window_ = mainWindow; }

void NotificationDispatcher::AttachSpeech(std::shared_ptr<SpeechOutput> speech) noexcept { speech_ = std::move(speech); }

void NotificationDispatcher::StopSpeech() const noexcept {
    if (speech_) speech_->Stop();
}

void NotificationDispatcher::Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) {
    NotifyWithSpokenBody(body, body, title, kind);
}

void NotificationDispatcher::NotifyWithSpokenBody(const std::wstring& body, const std::wstring& spokenBody,
                                                  const std::wstring& title, NotifyKind kind) {
    // Read now, not cached, so a change on the settings page applies to the next notification.
    const auto mode = static_cast<NotifyMode>(settings_.NotifyMode());
    const bool speaks = mode == NotifyMode::VoiceOnly || mode == NotifyMode::VoiceAndBalloon ||
                        mode == NotifyMode::VoiceAndMessageBox;
    if (speaks && speech_) {
        StartSpeech(spokenBody, title);
        if (mode == NotifyMode::VoiceOnly) return;
    }
    if (mode == NotifyMode::MessageBoxOnly || mode == NotifyMode::VoiceAndMessageBox) {
        StartMessageBox(body, title, kind);
        return;
    }
    // Without a voice, "voice only" stays silent.
    if (mode == NotifyMode::VoiceOnly) return;
    ShowBalloon(body, title, kind);
}

void NotificationDispatcher::StartSpeech(const std::wstring& spokenBody, const std::wstring& title) const {
    StartDetached([speech = speech_, volume = settings_.VoiceVolume(), voice = settings_.VoiceName(),
                   text = L"タイトル、" + title + L"。本文、" + spokenBody] {
        speech->SetVolume(volume / 100.0);
        speech->WaitUntilFinished(speech->Speak(text, voice));
    });
}

void NotificationDispatcher::StartMessageBox(const std::wstring& body, const std::wstring& title,
                                             NotifyKind kind) const {
    StartDetached([surface = surface_, speech = speech_, owner = ::IsWindow(window_) ? window_ : nullptr, body,
                   caption = MakeCaption(title), icon = LookOf(kind).boxIcon] {
        surface->ShowMessageBox(owner, body, caption, icon);
        // Dismissing the box also silences the voice that reads it out.
        if (speech) speech->Stop();
    });
}

void NotificationDispatcher::ShowBalloon(const std::wstring& body, const std::wstring& title, NotifyKind kind) {
    surface_->ShowBalloon(
        TrayIcon::BalloonRecord(window_, body, MakeCaption(title), LookOf(kind).balloonFlag, kBalloonTimeoutMs));
}

}  // namespace veltrano
