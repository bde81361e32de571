#pragma once
// The modal About box: icon, name and version, and a link to the maker's homepage.
#include <windows.h>

#include "resource.h"

namespace veltrano {

inline constexpr wchar_t kHomepageUrl[] = L"" VELTRANO_HOMEPAGE_URL;

// Returns when the box is closed.
void ShowAboutBox(HINSTANCE instance, HWND owner);

}  // namespace veltrano
