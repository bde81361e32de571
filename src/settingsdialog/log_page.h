#pragma once
// The "ログ" page: the log switch, which categories are written, and whether copied texts are
// kept out of the lines.
#include "settingsdialog/settings_page.h"

namespace veltrano {

class LogPage final : public SettingsPage {
public:
    explicit LogPage(SettingsContext& context);

protected:
    void OnInit() override;
    void OnCommand(int controlId, int code) override;
    bool OnApply() override;

private:
    void ApplyEnabling() const;
};

}  // namespace veltrano
