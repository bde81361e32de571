#pragma once
// The modal settings sheet "設定 - Veltrano" with its seven pages.
#include <windows.h>

#include <array>

#include "settingsdialog/basic_page.h"
#include "settingsdialog/history_page.h"
#include "settingsdialog/log_page.h"
#include "settingsdialog/protect_page.h"
#include "settingsdialog/replace_page.h"
#include "settingsdialog/settings_context.h"
#include "settingsdialog/text_window_page.h"
#include "settingsdialog/tray_page.h"

namespace veltrano {

// The sheet's pages, in its order.
struct SettingsPages {
    explicit SettingsPages(SettingsContext& context)
        : basic(context), replace(context), history(context), log(context), textWindow(context), tray(context),
          protect(context) {}
    std::array<SettingsPage*, 7> All() { return {&basic, &replace, &history, &log, &textWindow, &tray, &protect}; }

    BasicPage basic;
    ReplacePage replace;
    HistoryPage history;
    LogPage log;
    TextWindowPage textWindow;
    TrayPage tray;
    ProtectPage protect;
};

// Runs the sheet; its result, or -1 when a page could not be made.
INT_PTR OpenSettings(SettingsContext& context);

}  // namespace veltrano
