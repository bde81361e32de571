#include "app/main_window.h"

#include <shlwapi.h>
#include <wtsapi32.h>

#include "base/window_binding.h"
#include "guard/tray_tip.h"
#include "resource.h"

namespace veltrano {
namespace {

constexpr wchar_t kMainWindowClass[] = L"VeltranoClass";
constexpr wchar_t kProductName[] = L"Veltrano";
// How long the shell may refuse the icon, and how often it is asked meanwhile.
constexpr ULONGLONG kTrayIconPatienceMs = 10000;
constexpr UINT kTrayIconRetryMs = 500;

std::wstring TextOf(std::optional<ClipboardText> read) { return read ? std::move(read->text) : std::wstring(); }

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, DataPaths paths, SpeechStart speech,
                       OrganizationFolderAccess organizationAccess)
    : features_(instance, std::move(paths), std::move(speech), std::move(organizationAccess),
                [this](TrayButton click) { RunTrayAction(features_.settings.TrayClick(click)); }),
      watchdog_({.sequenceNumber = [] { return ::GetClipboardSequenceNumber(); },
                 .registerAgain = [this] { RegisterListenerAgain(); },
                 .handleMissed =
                     [this](DWORD) {
                         features_.log.WriteLog(LogCategory::Other, L"クリップボード監視", L"クリップボード監視を再開しました");
                         features_.log.ReportEvent(EventId::ListenerRenewed, {});
                         return HandleClipboard();
                     }}) {}

bool MainWindow::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainWindow::WindowProc;
    windowClass.hInstance = features_.instance;
    windowClass.hIcon = ::LoadIconW(features_.instance, MAKEINTRESOURCEW(IDI_VELTRANO));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kMainWindowClass;
    if (!::RegisterClassExW(&windowClass)) return false;

    // An ordinary top-level window, never shown, so that it receives shell broadcasts.
    return ::CreateWindowExW(0, kMainWindowClass, kProductName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, features_.instance, this) != nullptr;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject(window, message, lParam, &MainWindow::window_);
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);

    // Nothing may escape into the system's message dispatch.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        self->features_.ReportUnexpectedError();
    }
    return message == WM_CREATE ? -1 : 0;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate();
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_COMMAND: return OnCommand(wParam, lParam);
        case kTrayCallbackMessage: OnTrayCallback(lParam); return 0;
        case WM_CLIPBOARDUPDATE: OnClipboardUpdate(); return ::DefWindowProcW(window_, message, wParam, lParam);
        case kHistoryWorkDoneMessage:
            features_.history.CompleteLoad();
            features_.history.CompleteWrites();
            return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_ENDSESSION:
            if (!wParam) return 0;
            if (lParam & ENDSESSION_CLOSEAPP) {
                // An installer frees the program's files through the Restart Manager: ended as by 終了.
                stopReason_ = StopReason::Installer;
                ::DestroyWindow(window_);
                return 0;
            }
            // Windows ends the process once this returns, and WM_DESTROY never comes: the session
            // ends here as an exit does, every copy on disk first.
            EndWork(StopReason::SessionEnd);
            return 0;
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMRESUMEAUTOMATIC) OnSessionResumed();
            break;
        case WM_WTSSESSION_CHANGE:
            if (wParam == WTS_SESSION_UNLOCK || wParam == WTS_CONSOLE_CONNECT || wParam == WTS_REMOTE_CONNECT) {
                OnSessionResumed();
            }
            break;
    }
    if (taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_) {
        // The restarted shell has lost the icon, and may refuse it for a moment too.
        RetryTrayIcon();
        return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT MainWindow::OnCreate() {
    // Before anything saves a setting: no settings file yet is the user's first start.
    const bool firstStart = !::PathFileExistsW(features_.paths.SettingsFile().c_str());
    // Registered first: the shell announces itself with it when it starts after us.
    taskbarCreatedMessage_ = ::RegisterWindowMessageW(kTaskbarCreatedMessageName);
    if (!AddTrayIconWhenTheShellIsReady()) {
        ::MessageBoxW(window_, L"タスクトレイアイコンの登録に失敗しました", L"エラー - Veltrano", MB_ICONERROR);
        return -1;
    }
    features_.Start(window_, firstStart, kHistoryWorkDoneMessage);
    listening_.emplace(Listening{
        .listener = ListenToClipboard(window_),
        .watchdogTimer = StartWindowTimer(window_, ClipboardWatchdog::kTimerId, ClipboardWatchdog::kCheckIntervalMs),
        .sessions = NotifySessionChanges(window_)});
    watchdog_.Start();
    return 0;
}

void MainWindow::OnDestroy() {
    EndWork(stopReason_);
    ::PostQuitMessage(0);
}

void MainWindow::EndWork(StopReason reason) {
    listening_.reset();
    trayIconRetry_.Reset();
    features_.Stop(reason);
}

void MainWindow::EndAfterFailedLoop() {
    if (!::IsWindow(window_)) return;
    stopReason_ = StopReason::Error;
    ::DestroyWindow(window_);
}

void MainWindow::OnClipboardUpdate() {
    if (!listening_) return;
    // Named at once: a program that copies and ends may be gone by the time the clipboard is read.
    const ArrivedClipboardSource arrived = TakeArrivedClipboardSource();
    if (watchdog_.OnUpdate(arrived.sequence) && !HandleClipboard(arrived)) watchdog_.OnReadFailed(arrived.sequence);
}

bool MainWindow::HandleClipboard(const std::optional<ArrivedClipboardSource>& arrived) {
    features_.clearing.Cancel();
    // A private copy is handled as an update without text, so the last text leaves the screen too.
    ShowableClipboard::Reading reading = features_.showableClipboard.ReadCopy(window_, arrived);
    if (!reading.copy) {
        features_.pipeline.ProcessNoText();
        return reading.opened;
    }
    features_.pipeline.ProcessClipboardText(std::move(*reading.copy));
    return true;
}

void MainWindow::OnTimer(UINT_PTR timerId) {
    switch (timerId) {
        case DetectedClipboardClearing::kTimerId:
            if (features_.clearing.OnTimer()) features_.pipeline.ProcessNoText();
            return;
        case ClipboardWatchdog::kTimerId:
            if (listening_) watchdog_.OnCheck();
            return;
        case kTrayIconRetryTimerId: OnTrayIconRetryTimer(); return;
    }
}

void MainWindow::OnSessionResumed() {
    if (listening_) watchdog_.OnSessionResumed();
}

void MainWindow::RegisterListenerAgain() {
    if (!listening_) return;
    // Removed first: a second registration of the same window would be taken back with the first.
    listening_->listener.Reset();
    listening_->listener = ListenToClipboard(window_);
}

void MainWindow::OnTrayCallback(LPARAM lParam) {
    const TrayClickDecision decision = trayClicks_.OnMouseMessage(
        LOWORD(lParam), ::GetAsyncKeyState(VK_LBUTTON) < 0, ::GetAsyncKeyState(VK_RBUTTON) < 0);
    if (decision.stopSpeech) features_.notifier.StopSpeech();
    if (!decision.button) return;
    RunTrayAction(features_.settings.TrayClick(*decision.button));
    trayClicks_.AfterAction(*decision.button);
}

bool MainWindow::AddTrayIcon() {
    // The tooltip shows what the clipboard holds at this moment, unless it is a private copy.
    return features_.trayIcon.Add(window_, features_.instance,
                                  BuildTrayTip(TextOf(features_.showableClipboard.Read(window_))));
}

void MainWindow::RetryTrayIcon() {
    if (AddTrayIcon()) {
        trayIconRetry_.Reset();
        return;
    }
    trayIconRetryDeadline_ = ::GetTickCount64() + kTrayIconPatienceMs;
    trayIconRetry_ = StartWindowTimer(window_, kTrayIconRetryTimerId, kTrayIconRetryMs);
}

void MainWindow::OnTrayIconRetryTimer() {
    if (!trayIconRetry_) return;
    if (AddTrayIcon()) {
        trayIconRetry_.Reset();
    } else if (::GetTickCount64() >= trayIconRetryDeadline_) {
        trayIconRetry_.Reset();
        // At start-up, the creation fails with its own message instead.
        if (listening_) features_.log.WriteLog(LogCategory::Other, L"エラー", L"タスクトレイアイコンの再登録に失敗しました");
    }
}

bool MainWindow::AddTrayIconWhenTheShellIsReady() {
    // At logon the program may start before the shell accepts icons. Messages are dispatched
    // meanwhile: the retry timer and "TaskbarCreated" can add the icon.
    RetryTrayIcon();
    MSG message{};
    while (!features_.trayIcon.Added() && trayIconRetry_) {
        const BOOL result = ::GetMessageW(&message, nullptr, 0, 0);
        if (result == -1) return false;
        if (result == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return features_.trayIcon.Added();
}

}  // namespace veltrano
