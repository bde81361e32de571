#pragma once
// The "履歴" page: the clipboard history switch, menu order and size.
#include "settingsdialog/settings_page.h"

namespace veltrano {

class HistoryPage final : public SettingsPage {
public:
    explicit HistoryPage(SettingsContext& context);

protected:
    void OnInit() override;
    void OnCommand(int controlId, int code) override;
    bool OnApply() override;

private:
    void ApplyEnabling() const;
};

}  // namespace veltrano
