#pragma once
// The "トレイ操作" page: which action each of the four tray-icon clicks runs.
#include "settingsdialog/settings_page.h"

namespace veltrano {

class TrayPage final : public SettingsPage {
public:
    explicit TrayPage(SettingsContext& context);

protected:
    void OnInit() override;
    void OnCommand(int controlId, int code) override;
    bool OnApply() override;
};

}  // namespace veltrano
