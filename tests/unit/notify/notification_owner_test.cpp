// The dispatcher against a real main window: these need a display of their own.
#include <windows.h>

#include <gtest/gtest.h>

#include "dispatcher_fixture.h"

namespace veltrano {
namespace {

using test::NotificationDispatcherTest;
using test::NotificationRecords;
using test::Utf8;

// A real window standing in for the main window, so the owner rule meets a real IsWindow.
class StandInWindow {
public:
    StandInWindow()
        : handle_(::CreateWindowExW(0, L"STATIC", L"Veltrano", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                                    nullptr)) {}
    ~StandInWindow() { Destroy(); }
    StandInWindow(const StandInWindow&) = delete;
    StandInWindow& operator=(const StandInWindow&) = delete;

    HWND Handle() const noexcept { return handle_; }
    void Destroy() {
        if (handle_) ::DestroyWindow(handle_);
        handle_ = nullptr;
    }

private:
    HWND handle_;
};

using MainWindowOfDispatcher = NotificationDispatcherTest;

TEST_F(MainWindowOfDispatcher, BalloonRecordTargetsTrayIconOfMainWindow) {
    StandInWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    dispatcher.AttachWindow(window.Handle());
    dispatcher.Notify(L"本文", L"題名", NotifyKind::Warning);

    const NOTIFYICONDATAW balloon = OnlyBalloon();
    EXPECT_EQ(balloon.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(balloon.hWnd, window.Handle());
    EXPECT_EQ(balloon.uID, 1u);
    EXPECT_EQ(balloon.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(balloon.uTimeout, 3000u);
    EXPECT_EQ(Utf8(balloon.szInfo), Utf8(L"本文"));
    EXPECT_EQ(Utf8(balloon.szInfoTitle), Utf8(L"題名 - Veltrano"));
}

TEST_F(MainWindowOfDispatcher, BoxIsOwnedByMainWindowOnlyWhileItExists) {
    StandInWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    dispatcher.AttachWindow(window.Handle());
    SetMode(L"1");
    dispatcher.Notify(L"一", L"題名", NotifyKind::Info);
    EXPECT_EQ(WaitForOneBox().owner, window.Handle());

    window.Destroy();
    dispatcher.Notify(L"二", L"題名", NotifyKind::Info);
    const auto records = WaitFor([](const NotificationRecords& r) { return r.boxes.size() == 2; });
    EXPECT_EQ(records.boxes.back().owner, nullptr);
}

}  // namespace
}  // namespace veltrano
