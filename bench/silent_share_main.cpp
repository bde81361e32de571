// Veltrano.exe as it is, but the organisation's folder is a share that accepted the connection
// and then went silent: every read of it never returns. The start-up benchmark runs it.
#include <windows.h>

#include "app/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const auto never = [](const std::wstring&) -> veltrano::OrganizationListStamps {
        ::Sleep(INFINITE);
        return {};
    };
    return veltrano::RunVeltrano(instance, {.stamps = never, .texts = [never](const std::wstring& folder) {
                                                never(folder);
                                                return veltrano::OrganizationListTexts{};
                                            }});
}
