#include "settingsdialog/protect_page.h"

#include "resource.h"

namespace veltrano {
namespace {

struct DetectorSwitches {
    int id;  // the label switch is id + 1
    const BoolSetting& detect;
    const BoolSetting& needsLabel;
};

constexpr DetectorSwitches kDetectors[] = {
    {IDC_PROTECT_PAYMENT_CARD, setting::kDetectPaymentCard, setting::kDetectPaymentCardNeedsLabel},
    {IDC_PROTECT_MY_NUMBER, setting::kDetectMyNumber, setting::kDetectMyNumberNeedsLabel},
    {IDC_PROTECT_CORPORATE_NUMBER, setting::kDetectCorporateNumber, setting::kDetectCorporateNumberNeedsLabel},
};

}  // namespace

ProtectPage::ProtectPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_PROTECT) {}

void ProtectPage::OnInit() {
    for (const DetectorSwitches& detector : kDetectors) {
        Tick(detector.id, Stored().Read(detector.detect));
        Tick(detector.id + 1, Stored().Read(detector.needsLabel));
    }
    ApplyEnabling();
}

void ProtectPage::OnCommand(int controlId, int code) {
    if (code != BN_CLICKED) return;
    for (const DetectorSwitches& detector : kDetectors) {
        if (controlId != detector.id && controlId != detector.id + 1) continue;
        ApplyEnabling();
        MarkChanged();
    }
}

bool ProtectPage::OnApply() {
    // A greyed label rule keeps its tick and is stored too; failed writes are not reported here.
    for (const DetectorSwitches& detector : kDetectors) {
        Stored().Write(detector.detect, Ticked(detector.id));
        Stored().Write(detector.needsLabel, Ticked(detector.id + 1));
    }
    return true;
}

void ProtectPage::ApplyEnabling() const {
    for (const DetectorSwitches& detector : kDetectors) Enable({detector.id + 1}, Ticked(detector.id));
}

}  // namespace veltrano
