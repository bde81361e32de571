#include "settingsdialog/text_window_page.h"

#include "resource.h"
#include "settingsdialog/control_enabling.h"
#include "settingsdialog/page_field_checks.h"
#include "textwindow/clipboard_text_window.h"

namespace veltrano {
namespace {

constexpr int kWideField = 6;
constexpr int kNarrowField = 3;

}  // namespace

TextWindowPage::TextWindowPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_TEXT_WINDOW) {}

TextWindowPage::~TextWindowPage() { Detach(); }

void TextWindowPage::Detach() noexcept {
    if (attached_) Context().textWindow.AttachPageSync(nullptr);
    attached_ = false;
}

void TextWindowPage::OnInit() {
    Context().textWindow.AttachPageSync(this);
    attached_ = true;

    BindUpDown(IDC_TEXT_WINDOW_POS_X_UPDOWN, IDC_TEXT_WINDOW_POS_X, setting::kClipboardTextWindowPosX, kWideField);
    BindUpDown(IDC_TEXT_WINDOW_POS_Y_UPDOWN, IDC_TEXT_WINDOW_POS_Y, setting::kClipboardTextWindowPosY, kWideField);
    BindUpDown(IDC_TEXT_WINDOW_WIDTH_UPDOWN, IDC_TEXT_WINDOW_WIDTH, setting::kClipboardTextWindowWidth, kWideField);
    BindUpDown(IDC_TEXT_WINDOW_HEIGHT_UPDOWN, IDC_TEXT_WINDOW_HEIGHT, setting::kClipboardTextWindowHeight, kWideField);
    BindUpDown(IDC_TEXT_WINDOW_OPACITY_UPDOWN, IDC_TEXT_WINDOW_OPACITY, setting::kClipboardTextWindowOpacity,
               kNarrowField);
    BindUpDown(IDC_TEXT_WINDOW_BORDER_WIDTH_UPDOWN, IDC_TEXT_WINDOW_BORDER_WIDTH,
               setting::kClipboardTextWindowBorderWidth, kNarrowField);

    const Settings& settings = Stored();
    Tick(IDC_TEXT_WINDOW_SHOW, settings.UseClipboardTextWindow());
    Tick(IDC_TEXT_WINDOW_RESIZABLE, settings.ClipboardTextWindowResizable());
    Tick(IDC_TEXT_WINDOW_TOUCHABLE, settings.ClipboardTextWindowTouchable());
    ApplyEnabling();
}

void TextWindowPage::ApplyEnabling() const {
    const bool show = Ticked(IDC_TEXT_WINDOW_SHOW);
    const bool resizable = Ticked(IDC_TEXT_WINDOW_RESIZABLE);
    for (const int id : kTextWindowDependentControls) {
        Enable({id}, TextWindowControlEnabled(id, show, resizable));
    }
}

void TextWindowPage::OnCommand(int controlId, int code) {
    switch (controlId) {
        case IDC_TEXT_WINDOW_SHOW:
        case IDC_TEXT_WINDOW_RESIZABLE:
            if (code != BN_CLICKED) return;
            ApplyEnabling();
            MarkChanged();
            return;
        case IDC_TEXT_WINDOW_TOUCHABLE:
            if (code == BN_CLICKED) MarkChanged();
            return;
        case IDC_TEXT_WINDOW_POS_X:
        case IDC_TEXT_WINDOW_POS_Y:
        case IDC_TEXT_WINDOW_WIDTH:
        case IDC_TEXT_WINDOW_HEIGHT:
        case IDC_TEXT_WINDOW_OPACITY:
        case IDC_TEXT_WINDOW_BORDER_WIDTH:
            if (code == EN_CHANGE) MarkChanged();
            return;
    }
}

bool TextWindowPage::OnApply() {
    // Read every field before anything is written: re-creating the window reports its
    // geometry back into these fields.
    const TextWindowFields fields{Text(IDC_TEXT_WINDOW_POS_X),   Text(IDC_TEXT_WINDOW_POS_Y),
                                  Text(IDC_TEXT_WINDOW_WIDTH),   Text(IDC_TEXT_WINDOW_HEIGHT),
                                  Text(IDC_TEXT_WINDOW_OPACITY), Text(IDC_TEXT_WINDOW_BORDER_WIDTH)};
    if (const std::optional<FieldRefusal> refusal = CheckTextWindowFields(fields)) {
        RefuseInput(refusal->fieldId, refusal->message);
        return false;
    }

    Settings& settings = Stored();
    settings.Write(setting::kUseClipboardTextWindow, Ticked(IDC_TEXT_WINDOW_SHOW));
    settings.Write(setting::kClipboardTextWindowResizable, Ticked(IDC_TEXT_WINDOW_RESIZABLE));
    settings.Write(setting::kClipboardTextWindowTouchable, Ticked(IDC_TEXT_WINDOW_TOUCHABLE));
    StoreNumber(fields.x, setting::kClipboardTextWindowPosX);
    StoreNumber(fields.y, setting::kClipboardTextWindowPosY);
    StoreNumber(fields.width, setting::kClipboardTextWindowWidth);
    StoreNumber(fields.height, setting::kClipboardTextWindowHeight);
    StoreNumber(fields.opacity, setting::kClipboardTextWindowOpacity);
    StoreNumber(fields.borderWidth, setting::kClipboardTextWindowBorderWidth);

    ClipboardTextWindow& window = Context().textWindow;
    window.DestroyTextWindow();
    if (settings.UseClipboardTextWindow()) window.ShowTextWindow(Context().owner);
    return true;
}

bool TextWindowPage::OnMessage(UINT message, WPARAM, LPARAM) {
    if (message == WM_DESTROY) Detach();
    return false;
}

void TextWindowPage::ShowNumber(int fieldId, int value) {
    Quietly([&] { ::SetDlgItemInt(Page(), fieldId, static_cast<UINT>(value), TRUE); });
}

void TextWindowPage::ShowPosition(int x, int y) {
    ShowNumber(IDC_TEXT_WINDOW_POS_X, x);
    ShowNumber(IDC_TEXT_WINDOW_POS_Y, y);
}

void TextWindowPage::ShowSize(int width, int height) {
    ShowNumber(IDC_TEXT_WINDOW_WIDTH, width);
    ShowNumber(IDC_TEXT_WINDOW_HEIGHT, height);
}

void TextWindowPage::ShowOpacity(int opacity) { ShowNumber(IDC_TEXT_WINDOW_OPACITY, opacity); }

}  // namespace veltrano
