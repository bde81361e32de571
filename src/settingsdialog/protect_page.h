#pragma once
// The "保護" page: the built-in detectors of card, My Number and corporate numbers, each with its
// label rule (greyed while its detector is off); the clearing of a detected copy, the copying
// program in warnings, and the programs whose copies are ignored.
#include "settingsdialog/settings_page.h"

namespace veltrano {

class ProtectPage final : public SettingsPage {
public:
    explicit ProtectPage(SettingsContext& context);

protected:
    void OnInit() override;
    void OnCommand(int controlId, int code) override;
    bool OnApply() override;

private:
    void ApplyEnabling() const;
};

}  // namespace veltrano
