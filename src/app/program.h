#pragma once
// The whole program behind wWinMain: the event-source commands, the self-test, or one guarded
// run until exit.
#include <windows.h>

#include "matching/organization_keywords.h"

namespace veltrano {

// The exit code. `organizationAccess` reads the organisation's folder: the real one in
// Veltrano.exe, one that never returns in a benchmark's build of the same program.
int RunVeltrano(HINSTANCE instance, OrganizationFolderAccess organizationAccess);

}  // namespace veltrano
