#pragma once
// The process-wide state and the hidden main window "VeltranoClass" that owns the tray icon,
// receives clipboard updates and commands, and owns dialogs and menus.
#include <windows.h>

#include "app/tray_icon.h"
#include "base/local_clock.h"
#include "log/log_writer.h"
#include "notify/message_box_notifier.h"
#include "settings/settings.h"
#include "storage/data_paths.h"

namespace veltrano {

class Application {
public:
    Application(HINSTANCE instance, DataPaths paths);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Registers the class and creates the main window; false when creation failed.
    bool CreateMainWindow();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate();
    void OnDestroy();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    void OnTaskbarCreated();
    void ReportUnexpectedError();

    HINSTANCE instance_;
    DataPaths paths_;
    Settings settings_;
    SystemLocalClock clock_;
    LogWriter log_;
    MessageBoxNotifier notifier_;
    TrayIcon trayIcon_;
    HWND window_ = nullptr;
    UINT taskbarCreatedMessage_ = 0;
};

}  // namespace veltrano
