#pragma once
// The program's own commands on its command line ("/RegisterEventSource", "/SelfTest", ...):
// their arguments, and the standard error stream a GUI program may have for their messages.
#include <string>
#include <vector>

namespace veltrano {

// The arguments after the program's name.
std::vector<std::wstring> CommandArguments(const std::wstring& commandLine);

// Whether `argument` is the switch `name` ("/Name"), in any case.
bool IsSwitch(const std::wstring& argument, const wchar_t* name);

// "Veltrano: <text>" on the standard error stream when the starter gave one, else on the console
// of the shell that started the program, if there is one.
void WriteToStandardError(const std::wstring& text);

}  // namespace veltrano
