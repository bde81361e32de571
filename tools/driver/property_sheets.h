#pragma once
// Property sheets of another process: their tabs, pages and controls. Clicks are posted, never
// sent: a sent click on Apply would block while the page shows a validation box.
#include <windows.h>

#include <string>
#include <vector>

namespace veltrano::driver {

inline constexpr int kApplyButtonId = 0x3021;

// The tab titles in order; the structure and text live in the sheet's process.
std::vector<std::wstring> SheetTabNames(HWND sheet);
// Switches to the page at `index` and gives its window (null when there is none).
HWND ShowSheetPage(HWND sheet, int index);

// As a user's change: the control's owner sees its notification (EN_CHANGE, CBN_SELCHANGE).
void SetControlText(HWND control, const std::wstring& text);
void SelectComboItem(HWND page, int comboId, int index);
int SelectedComboItem(HWND page, int comboId);
std::vector<std::wstring> ComboItems(HWND page, int comboId);
// Posts BM_CLICK to the control with this id.
void ClickControl(HWND parent, int controlId);
bool IsTicked(HWND page, int controlId);
bool IsControlEnabled(HWND parent, int controlId);

}  // namespace veltrano::driver
