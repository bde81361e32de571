// Program entry.
#include <windows.h>

#include "app/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return veltrano::RunVeltrano(instance, veltrano::RealOrganizationFolderAccess());
}
