#include "settingsdialog/protect_page.h"

#include "resource.h"
#include "settingsdialog/input_checks.h"

namespace veltrano {
namespace {

struct DetectorSwitches {
    int detectId;
    int needsLabelId;
    const BoolSetting& detect;
    const BoolSetting& needsLabel;
};

constexpr DetectorSwitches kDetectors[] = {
    {IDC_PROTECT_PAYMENT_CARD, IDC_PROTECT_PAYMENT_CARD_LABEL, setting::kDetectPaymentCard,
     setting::kDetectPaymentCardNeedsLabel},
    {IDC_PROTECT_MY_NUMBER, IDC_PROTECT_MY_NUMBER_LABEL, setting::kDetectMyNumber, setting::kDetectMyNumberNeedsLabel},
    {IDC_PROTECT_CORPORATE_NUMBER, IDC_PROTECT_CORPORATE_NUMBER_LABEL, setting::kDetectCorporateNumber,
     setting::kDetectCorporateNumberNeedsLabel},
};

}  // namespace

ProtectPage::ProtectPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_PROTECT) {}

void ProtectPage::OnInit() {
    for (const DetectorSwitches& detector : kDetectors) {
        Tick(detector.detectId, Stored().Read(detector.detect));
        Tick(detector.needsLabelId, Stored().Read(detector.needsLabel));
    }
    BindUpDown(IDC_PROTECT_CLEAR_SECONDS_UPDOWN, IDC_PROTECT_CLEAR_SECONDS, setting::kClearDetectedClipboardSeconds,
               kNumberFieldLength);
    Tick(IDC_PROTECT_CREDENTIALS, Stored().DetectCredentials());
    Tick(IDC_PROTECT_PASSWORD_ASSIGNMENTS, Stored().DetectPasswordAssignments());
    Tick(IDC_PROTECT_MASK_NUMBERS, Stored().MaskDetectedNumbers());
    Tick(IDC_PROTECT_SHOW_SOURCE, Stored().ShowSourceApplication());
    ::SetWindowTextW(Item(IDC_PROTECT_IGNORED_APPS), Stored().IgnoredApplications().c_str());
    ApplyEnabling();
}

void ProtectPage::OnCommand(int controlId, int code) {
    if (controlId == IDC_PROTECT_CLEAR_SECONDS || controlId == IDC_PROTECT_IGNORED_APPS) {
        if (code == EN_CHANGE) MarkChanged();
        return;
    }
    if (code != BN_CLICKED) return;
    if (controlId == IDC_PROTECT_SHOW_SOURCE || controlId == IDC_PROTECT_MASK_NUMBERS ||
        controlId == IDC_PROTECT_CREDENTIALS || controlId == IDC_PROTECT_PASSWORD_ASSIGNMENTS) {
        MarkChanged();
    }
    for (const DetectorSwitches& detector : kDetectors) {
        if (controlId != detector.detectId && controlId != detector.needsLabelId) continue;
        ApplyEnabling();
        MarkChanged();
    }
}

bool ProtectPage::OnApply() {
    const std::wstring clearSeconds = Text(IDC_PROTECT_CLEAR_SECONDS);
    if (const std::optional<FieldRefusal> refused =
            CheckNumberField(clearSeconds, IDC_PROTECT_CLEAR_SECONDS, setting::kClearDetectedClipboardSeconds,
                             L"消去するまでの秒数は ", L" 秒の範囲で入力して下さい。")) {
        RefuseInput(refused->fieldId, refused->message);
        return false;
    }
    // A greyed label rule keeps its tick and is stored too; failed writes are not reported here.
    for (const DetectorSwitches& detector : kDetectors) {
        Stored().Write(detector.detect, Ticked(detector.detectId));
        Stored().Write(detector.needsLabel, Ticked(detector.needsLabelId));
    }
    StoreNumber(clearSeconds, setting::kClearDetectedClipboardSeconds);
    Stored().Write(setting::kDetectCredentials, Ticked(IDC_PROTECT_CREDENTIALS));
    Stored().Write(setting::kDetectPasswordAssignments, Ticked(IDC_PROTECT_PASSWORD_ASSIGNMENTS));
    Stored().Write(setting::kMaskDetectedNumbers, Ticked(IDC_PROTECT_MASK_NUMBERS));
    Stored().Write(setting::kShowSourceApplication, Ticked(IDC_PROTECT_SHOW_SOURCE));
    Stored().Write(setting::kIgnoredApplications, Text(IDC_PROTECT_IGNORED_APPS));
    return true;
}

void ProtectPage::ApplyEnabling() const {
    for (const DetectorSwitches& detector : kDetectors) Enable({detector.needsLabelId}, Ticked(detector.detectId));
}

}  // namespace veltrano
