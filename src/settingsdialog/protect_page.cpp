#include "settingsdialog/protect_page.h"

#include <algorithm>
#include <iterator>

#include "matching/keyword_search.h"
#include "resource.h"
#include "settingsdialog/input_checks.h"

namespace veltrano {
namespace {

// The check boxes of a detector: its switch, and its label rule's (0 where it has none).
struct DetectorBoxes {
    IdentifierKind kind;
    int detectId;
    int needsLabelId;
};

constexpr DetectorBoxes kDetectorBoxes[] = {
    {IdentifierKind::PaymentCard, IDC_PROTECT_PAYMENT_CARD, IDC_PROTECT_PAYMENT_CARD_LABEL},
    {IdentifierKind::MyNumber, IDC_PROTECT_MY_NUMBER, IDC_PROTECT_MY_NUMBER_LABEL},
    {IdentifierKind::CorporateNumber, IDC_PROTECT_CORPORATE_NUMBER, IDC_PROTECT_CORPORATE_NUMBER_LABEL},
    {IdentifierKind::PassportNumber, IDC_PROTECT_PASSPORT_NUMBER, 0},
    {IdentifierKind::DriverLicenseNumber, IDC_PROTECT_DRIVER_LICENSE_NUMBER, 0},
    {IdentifierKind::ResidenceCardNumber, IDC_PROTECT_RESIDENCE_CARD_NUMBER, 0},
    {IdentifierKind::BasicPensionNumber, IDC_PROTECT_BASIC_PENSION_NUMBER, 0},
    {IdentifierKind::BankAccountNumber, IDC_PROTECT_BANK_ACCOUNT_NUMBER, 0},
};

const IdentifierSwitch& SwitchOf(IdentifierKind kind) {
    return *std::find_if(std::begin(kIdentifierSwitches), std::end(kIdentifierSwitches),
                         [&](const IdentifierSwitch& detector) { return detector.kind == kind; });
}

}  // namespace

ProtectPage::ProtectPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_PROTECT) {}

void ProtectPage::OnInit() {
    for (const DetectorBoxes& boxes : kDetectorBoxes) {
        const IdentifierSwitch& detector = SwitchOf(boxes.kind);
        Tick(boxes.detectId, Stored().Read(detector.on));
        if (boxes.needsLabelId != 0) Tick(boxes.needsLabelId, Stored().Read(*detector.needsLabel));
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
    for (const DetectorBoxes& boxes : kDetectorBoxes) {
        if (controlId != boxes.detectId && controlId != boxes.needsLabelId) continue;
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
    for (const DetectorBoxes& boxes : kDetectorBoxes) {
        const IdentifierSwitch& detector = SwitchOf(boxes.kind);
        Stored().Write(detector.on, Ticked(boxes.detectId));
        if (boxes.needsLabelId != 0) Stored().Write(*detector.needsLabel, Ticked(boxes.needsLabelId));
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
    for (const DetectorBoxes& boxes : kDetectorBoxes) {
        if (boxes.needsLabelId != 0) Enable({boxes.needsLabelId}, Ticked(boxes.detectId));
    }
}

}  // namespace veltrano
