#pragma once
// The "置換" page: clipboard replacement and the guard against consecutive automatic replacements.
#include "settingsdialog/settings_page.h"

namespace veltrano {

class ReplacePage final : public SettingsPage {
public:
    explicit ReplacePage(SettingsContext& context);

protected:
    void OnInit() override;
    void OnCommand(int controlId, int code) override;
    bool OnApply() override;

private:
    void ApplyEnabling() const;
};

}  // namespace veltrano
