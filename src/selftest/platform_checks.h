#pragma once
// The self-test's checks of the platform under the guard: the program folder and the settings
// file, data protection and the keyed hash, the clipboard, the notification area and the
// screen-capture exclusion, on a hidden window of their own.
#include <windows.h>

#include <vector>

#include "selftest/self_test.h"

namespace veltrano {

inline constexpr wchar_t kFolderCheckName[] = L"データフォルダへの書き込み";

std::vector<SelfTestCheck> PlatformChecks(HINSTANCE instance, const DataPaths& paths);

}  // namespace veltrano
