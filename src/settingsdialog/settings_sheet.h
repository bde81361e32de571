#pragma once
// The modal settings sheet "設定 - Veltrano" with its six pages.
#include <windows.h>

#include "settingsdialog/settings_context.h"

namespace veltrano {

// Runs the sheet; its result, or -1 when a page could not be made.
INT_PTR OpenSettings(SettingsContext& context);

}  // namespace veltrano
