#pragma once
// The modal About box: icon, name and version, a link to the maker's homepage, and the button
// that runs the self-test and opens its report.
#include <windows.h>

#include "resource.h"
#include "storage/data_paths.h"

namespace veltrano {

inline constexpr wchar_t kHomepageUrl[] = L"" VELTRANO_HOMEPAGE_URL;

// Returns when the box is closed (a self-test it started goes on and opens its report).
void ShowAboutBox(HINSTANCE instance, HWND owner, const DataPaths& paths);

}  // namespace veltrano
