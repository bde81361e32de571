#include "driver/x11_desktop.h"

#include <cstdio>
#include <stdexcept>

#include "base/scope_exit.h"
#include "base/text_encoding.h"
#include "driver/program_folder.h"

namespace veltrano::driver {
namespace {

// Seconds the shell gives a tool after its timeout before killing it, and the time we allow on
// top for the shell to write the status.
constexpr unsigned kKillGraceSeconds = 2;
constexpr DWORD kStatusGraceMs = 10000;

// Wine splits the command line of a Unix program into argv by the Windows rules, as
// CommandLineToArgvW does.
std::wstring CommandLineQuoted(std::wstring_view argument) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as escapes only before a quote.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::wstring SecondsText(DWORD milliseconds) {
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%lu.%03lu", milliseconds / 1000, milliseconds % 1000);
    return text;
}

std::wstring Decimal(long value) { return std::to_wstring(value); }

std::string DescribeTool(const std::vector<std::wstring>& arguments) {
    return arguments.empty() ? std::string("(nothing)") : WideToUtf8(arguments.front());
}

}  // namespace

std::wstring ShellQuoted(std::wstring_view argument) {
    std::wstring quoted = L"'";
    for (wchar_t c : argument) {
        if (c == L'\'') {
            quoted += L"'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + L"'";
}

std::wstring UnixPathOf(const std::wstring& windowsPath) {
    using Convert = char*(CDECL*)(const wchar_t*);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const FARPROC proc = kernel ? ::GetProcAddress(kernel, "wine_get_unix_file_name") : nullptr;
    if (!proc) throw std::runtime_error("not running under Wine: no wine_get_unix_file_name");
    // Through void(*)() so GCC accepts the cast between function types.
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(proc));
    char* unixPath = convert(windowsPath.c_str());
    if (!unixPath) throw std::runtime_error("no Unix path for " + WideToUtf8(windowsPath));
    const ScopeExit release([unixPath] { ::HeapFree(::GetProcessHeap(), 0, unixPath); });
    return Utf8ToWide(unixPath);
}

UnixToolResult RunUnixTool(const std::vector<std::wstring>& arguments, DWORD timeoutMs) {
    if (arguments.empty()) throw std::invalid_argument("RunUnixTool needs a program");
    // Japanese in its name: the path also crosses Wine's command-line conversion to UTF-8.
    const auto folder = TemporaryProgramFolder::Create();
    const std::wstring statusPath = folder.PathOf(L"status");
    const std::wstring unixFolder = UnixPathOf(folder.Path());
    const auto unixFile = [&](const wchar_t* name) { return ShellQuoted(unixFolder + L"/" + name); };

    // The shell drops the stdio it inherits from Wine (a test's output pipe that ctest waits on)
    // before anything can hang. The status appears by rename, so it is never read half written.
    std::wstring script = L"exec </dev/null >/dev/null 2>&1; timeout -k " + Decimal(kKillGraceSeconds) + L" " +
                          SecondsText(timeoutMs);
    for (const auto& argument : arguments) script += L" " + ShellQuoted(argument);
    script += L" >" + unixFile(L"out") + L" 2>" + unixFile(L"err") + L"; echo $? >" + unixFile(L"status.part") +
              L" && mv " + unixFile(L"status.part") + L" " + unixFile(L"status");

    std::wstring commandLine = L"/bin/sh -c " + CommandLineQuoted(script);
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start /bin/sh for " + DescribeTool(arguments) + ", error " +
                                 std::to_string(::GetLastError()));
    }
    // For a Unix child Wine 8 gives no process handle and leaves junk in hThread (seen: -1, a
    // heap address), so the thread handle is closed only beside a real process handle.
    if (info.hProcess) {
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }

    if (!PollUntil(timeoutMs + kKillGraceSeconds * 1000 + kStatusGraceMs, [&] { return FileExists(statusPath); })) {
        throw std::runtime_error(DescribeTool(arguments) + " gave no exit status");
    }
    UnixToolResult result;
    result.output = ReadFileBytes(folder.PathOf(L"out"));
    result.errors = ReadFileBytes(folder.PathOf(L"err"));
    const std::string status = ReadFileBytes(statusPath);
    try {
        result.exitCode = std::stoi(status);
    } catch (const std::exception&) {
        throw std::runtime_error(DescribeTool(arguments) + " left an unreadable status: " + status);
    }
    return result;
}

std::string RunUnixToolChecked(const std::vector<std::wstring>& arguments, DWORD timeoutMs) {
    UnixToolResult result = RunUnixTool(arguments, timeoutMs);
    if (result.exitCode != 0) {
        throw std::runtime_error(DescribeTool(arguments) + " failed with exit code " +
                                 std::to_string(result.exitCode) + ": " + result.errors);
    }
    return std::move(result.output);
}

ScreenPixels::ScreenPixels(int width, int height, std::string rgb)
    : width_(width), height_(height), rgb_(std::move(rgb)) {
    if (width < 0 || height < 0 || rgb_.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3) {
        throw std::invalid_argument("pixel data does not match " + std::to_string(width) + "x" +
                                    std::to_string(height));
    }
}

COLORREF ScreenPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw std::out_of_range("pixel " + std::to_string(x) + "," + std::to_string(y) + " outside " +
                                std::to_string(width_) + "x" + std::to_string(height_));
    }
    const size_t offset = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
    const auto channel = [&](size_t i) { return static_cast<BYTE>(rgb_[offset + i]); };
    return RGB(channel(0), channel(1), channel(2));
}

ScreenPixels CaptureScreen(const RECT& screenRect) {
    const int width = screenRect.right - screenRect.left;
    const int height = screenRect.bottom - screenRect.top;
    if (width <= 0 || height <= 0) throw std::invalid_argument("empty screen rectangle");
    wchar_t geometry[64];
    std::swprintf(geometry, std::size(geometry), L"%dx%d%+ld%+ld", width, height, screenRect.left, screenRect.top);
    // +repage: without it the crop keeps the root's page offset, which raw output does not need.
    std::string rgb = RunUnixToolChecked(
        {L"import", L"-silent", L"-window", L"root", L"-crop", geometry, L"+repage", L"-depth", L"8", L"rgb:-"});
    const size_t expected = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    if (rgb.size() != expected) {
        // A rectangle reaching off the screen comes back smaller.
        throw std::runtime_error("screen capture " + WideToUtf8(geometry) + " gave " + std::to_string(rgb.size()) +
                                 " bytes instead of " + std::to_string(expected));
    }
    return ScreenPixels(width, height, std::move(rgb));
}

X11WindowId X11WindowOf(HWND window) {
    if (!::IsWindow(window)) throw std::runtime_error("X11WindowOf: no such window");
    const auto id = reinterpret_cast<ULONG_PTR>(::GetPropW(window, L"__wine_x11_whole_window"));
    if (id == 0) throw std::runtime_error("the window has no X window (not top-level?)");
    return static_cast<X11WindowId>(id);
}

std::optional<std::uint32_t> WindowOpacityProperty(HWND window) {
    constexpr char kName[] = "_NET_WM_WINDOW_OPACITY";
    // -notype: "NAME = 3368601800" when set, "NAME:  not found." when not.
    const std::string output = RunUnixToolChecked(
        {L"xprop", L"-id", std::to_wstring(X11WindowOf(window)), L"-notype", Utf8ToWide(kName)});
    const std::string valuePrefix = std::string(kName) + " = ";
    if (output.starts_with(valuePrefix)) {
        try {
            const unsigned long long value = std::stoull(output.substr(valuePrefix.size()));
            if (value <= UINT32_MAX) return static_cast<std::uint32_t>(value);
        } catch (const std::exception&) {
            // Reported below with the whole output.
        }
    } else if (output.starts_with(std::string(kName) + ":") && output.find("not found") != std::string::npos) {
        return std::nullopt;
    }
    throw std::runtime_error("unexpected xprop output: " + output);
}

void MovePointer(POINT to) {
    RunUnixToolChecked({L"xdotool", L"mousemove", Decimal(to.x), Decimal(to.y)});
}

void ClickAt(POINT at, int button) {
    RunUnixToolChecked({L"xdotool", L"mousemove", Decimal(at.x), Decimal(at.y), L"click", Decimal(button)});
}

void DragWithLeftButton(POINT from, POINT to) {
    constexpr int kSteps = 4;
    std::vector<std::wstring> command = {L"xdotool", L"mousemove", Decimal(from.x), Decimal(from.y), L"mousedown", L"1"};
    for (int step = 1; step <= kSteps; ++step) {
        command.insert(command.end(), {L"mousemove", Decimal(from.x + (to.x - from.x) * step / kSteps),
                                       Decimal(from.y + (to.y - from.y) * step / kSteps)});
    }
    command.insert(command.end(), {L"mouseup", L"1"});
    RunUnixToolChecked(command);
}

void TurnWheel(int notches) {
    if (notches == 0) return;
    // X reports the wheel as presses of button 4 (up) and 5 (down).
    const int count = notches > 0 ? notches : -notches;
    RunUnixToolChecked({L"xdotool", L"click", L"--repeat", Decimal(count), notches > 0 ? L"4" : L"5"});
}

}  // namespace veltrano::driver
