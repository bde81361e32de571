// vdriver: the driver operations as subcommands, for manual runs and scripts.
// Results go to stdout as UTF-8; failures exit non-zero with a message on stderr.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "driver/balloons.h"
#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/processes.h"
#include "driver/program_folder.h"
#include "driver/tray_icons.h"
#include "driver/window_queries.h"

namespace {

using namespace veltrano::driver;
using veltrano::UniqueHandle;
using veltrano::WideToUtf8;

constexpr int kUsageError = 2;

// Thrown for a bad command line, so the usage is shown.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Decimal or 0x-prefixed hexadecimal, the whole word.
unsigned long ParseNumber(const std::wstring& word) {
    try {
        size_t used = 0;
        const unsigned long number = std::stoul(word, &used, 0);
        if (used == word.size()) return number;
    } catch (const std::exception&) {
    }
    throw UsageError("not a number: " + WideToUtf8(word));
}

// "--name value" options, bare "--flag" switches and positional words.
class Arguments {
public:
    Arguments(int argc, wchar_t** argv, int first) {
        static const std::set<std::wstring> kFlags = {L"--all", L"--children", L"--wait"};
        for (int i = first; i < argc; ++i) {
            const std::wstring word = argv[i];
            if (kFlags.contains(word)) {
                flags_.insert(word);
            } else if (word.starts_with(L"--")) {
                if (i + 1 >= argc) throw UsageError("missing value for " + WideToUtf8(word));
                options_[word] = argv[++i];
            } else {
                positional_.push_back(word);
            }
        }
    }

    std::optional<std::wstring> Get(const std::wstring& name) const {
        const auto found = options_.find(name);
        if (found == options_.end()) return std::nullopt;
        return found->second;
    }
    std::wstring Require(const std::wstring& name) const {
        auto value = Get(name);
        if (!value) throw UsageError("missing " + WideToUtf8(name));
        return *value;
    }
    unsigned long Number(const std::wstring& name, std::optional<unsigned long> fallback = std::nullopt) const {
        const auto value = Get(name);
        if (!value) {
            if (fallback) return *fallback;
            throw UsageError("missing " + WideToUtf8(name));
        }
        return ParseNumber(*value);
    }
    DWORD Timeout() const { return static_cast<DWORD>(Number(L"--timeout-ms", kDefaultTimeoutMs)); }
    bool Flag(const std::wstring& name) const { return flags_.contains(name); }
    const std::vector<std::wstring>& Positional() const { return positional_; }

private:
    std::map<std::wstring, std::wstring> options_;
    std::set<std::wstring> flags_;
    std::vector<std::wstring> positional_;
};

void WriteOut(HANDLE stream, const std::string& bytes) {
    DWORD written = 0;
    ::WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void PrintLine(const std::wstring& line) { WriteOut(::GetStdHandle(STD_OUTPUT_HANDLE), WideToUtf8(line) + "\n"); }

std::wstring Hex(UINT_PTR value) {
    wchar_t buffer[24];
    swprintf(buffer, std::size(buffer), L"0x%llX", static_cast<unsigned long long>(value));
    return buffer;
}

std::wstring HandleText(HWND window) { return Hex(reinterpret_cast<UINT_PTR>(window)); }

WindowQuery QueryFrom(const Arguments& args) {
    WindowQuery query;
    query.className = args.Get(L"--class").value_or(L"");
    query.caption = args.Get(L"--caption");
    query.processId = static_cast<DWORD>(args.Number(L"--pid", 0));
    query.visibleOnly = !args.Flag(L"--all");
    return query;
}

// The window a command is meant for: --hwnd, or the first hidden or visible match of --class/--caption.
HWND TargetWindow(const Arguments& args) {
    if (args.Get(L"--hwnd")) return reinterpret_cast<HWND>(static_cast<UINT_PTR>(args.Number(L"--hwnd")));
    WindowQuery query = QueryFrom(args);
    if (query.className.empty() && !query.caption) throw UsageError("give --hwnd, --class or --caption");
    query.visibleOnly = false;
    HWND window = WaitForWindow(query, args.Timeout());
    if (!window) throw std::runtime_error("no such window");
    return window;
}

HWND TargetMessageBox(const Arguments& args) {
    HWND box = WaitForMessageBox(args.Require(L"--caption"), args.Timeout());
    if (!box) throw std::runtime_error("no message box with that caption");
    return box;
}

void PrintWindow(const WindowInfo& info, const std::wstring& indent) {
    PrintLine(indent + HandleText(info.handle) + L"\t" + std::to_wstring(info.processId) + L"\t" +
              (info.visible ? L"visible" : L"hidden") + L"\t" + info.className + L"\t" + info.caption);
}

void PrintExitCode(DWORD code) { PrintLine(std::to_wstring(code)); }

int WaitAndReport(HANDLE process, const Arguments& args) {
    const auto code = WaitForExit(process, args.Timeout());
    if (!code) throw std::runtime_error("the process is still running");
    PrintExitCode(*code);
    return 0;
}

std::wstring OnlyPositional(const Arguments& args) {
    if (args.Positional().size() != 1) throw UsageError("expected exactly one text argument");
    return args.Positional().front();
}

using Command = std::function<int(const Arguments&)>;

const std::map<std::wstring, Command>& Commands() {
    static const std::map<std::wstring, Command> kCommands = {
        {L"wait-window",
         [](const Arguments& args) {
             WindowQuery query = QueryFrom(args);
             query.visibleOnly = false;
             HWND window = WaitForWindow(query, args.Timeout());
             if (!window) throw std::runtime_error("no such window appeared");
             PrintWindow(DescribeWindow(window), L"");
             return 0;
         }},
        {L"list-windows",
         [](const Arguments& args) {
             for (const WindowInfo& info : FindTopLevelWindows(QueryFrom(args))) {
                 PrintWindow(info, L"");
                 if (!args.Flag(L"--children")) continue;
                 for (const WindowInfo& child : ChildWindowsOf(info.handle)) PrintWindow(child, L"  ");
             }
             return 0;
         }},
        {L"post-command",
         [](const Arguments& args) {
             PostCommand(TargetWindow(args), static_cast<WORD>(args.Number(L"--id")));
             return 0;
         }},
        {L"post-tray",
         [](const Arguments& args) {
             const std::wstring mouse = args.Require(L"--mouse");
             const auto named = MouseMessageFromName(mouse);
             const UINT message = named ? *named : static_cast<UINT>(ParseNumber(mouse));
             PostTrayCallback(TargetWindow(args), message);
             return 0;
         }},
        {L"tray-icons",
         [](const Arguments&) {
             for (const TrayIconInfo& icon : ListTrayIcons()) {
                 DWORD processId = 0;
                 if (icon.owner) ::GetWindowThreadProcessId(icon.owner, &processId);
                 PrintLine(HandleText(icon.iconWindow) + L"\t" + HandleText(icon.owner) + L"\t" +
                           std::to_wstring(processId) + L"\t" + icon.tip);
             }
             return 0;
         }},
        {L"balloons",
         [](const Arguments&) {
             for (const BalloonInfo& balloon : ListBalloons()) {
                 DWORD processId = 0;
                 if (balloon.owner) ::GetWindowThreadProcessId(balloon.owner, &processId);
                 PrintLine(HandleText(balloon.balloonWindow) + L"\t" + HandleText(balloon.owner) + L"\t" +
                           std::to_wstring(processId) + L"\t" + std::to_wstring(balloon.iconFlag) + L"\t" + balloon.title +
                           L"\t" + balloon.text);
             }
             return 0;
         }},
        {L"set-clipboard",
         [](const Arguments& args) {
             SetClipboardText(OnlyPositional(args), args.Timeout());
             return 0;
         }},
        {L"set-clipboard-size",
         [](const Arguments& args) {
             if (args.Positional().size() != 1) throw UsageError("expected the length in UTF-16 units");
             SetClipboardText(MakeSizedText(ParseNumber(args.Positional().front())), args.Timeout());
             return 0;
         }},
        {L"set-clipboard-image",
         [](const Arguments& args) {
             SetClipboardImage(args.Timeout());
             return 0;
         }},
        {L"get-clipboard",
         [](const Arguments& args) {
             const auto text = GetClipboardText(args.Timeout());
             if (!text) throw std::runtime_error("the clipboard holds no text");
             WriteOut(::GetStdHandle(STD_OUTPUT_HANDLE), WideToUtf8(*text));
             return 0;
         }},
        {L"msgbox-text",
         [](const Arguments& args) {
             PrintLine(MessageBoxText(TargetMessageBox(args)));
             return 0;
         }},
        {L"msgbox-press",
         [](const Arguments& args) {
             PressButton(TargetMessageBox(args), static_cast<int>(args.Number(L"--button")));
             return 0;
         }},
        {L"start",
         [](const Arguments& args) {
             const StartedProgram started =
                 StartProgram(WindowsPathFromHost(args.Require(L"--exe")), args.Get(L"--args").value_or(L""),
                              WindowsPathFromHost(args.Get(L"--cwd").value_or(L"")));
             if (args.Flag(L"--wait")) return WaitAndReport(started.process.Get(), args);
             PrintLine(std::to_wstring(started.processId));
             return 0;
         }},
        {L"wait-exit",
         [](const Arguments& args) {
             const UniqueHandle process = OpenProcessForWaiting(static_cast<DWORD>(args.Number(L"--pid")));
             return WaitAndReport(process.Get(), args);
         }},
        {L"make-folder",
         [](const Arguments& args) {
             TemporaryProgramFolder folder = TemporaryProgramFolder::Create();
             for (const std::wstring& file : args.Positional()) folder.CopyIn(WindowsPathFromHost(file));
             PrintLine(folder.Release());
             return 0;
         }},
        {L"write-utf16",
         [](const Arguments& args) {
             WriteUtf16File(WindowsPathFromHost(args.Require(L"--path")), OnlyPositional(args));
             return 0;
         }},
        {L"hold-desktop",
         [](const Arguments& args) {
             // Joins the desktop, which starts its process (explorer) with our quiet standard
             // handles, and stays joined: the desktop process ends a second after its last
             // user, and a test that started it anew would pass it the test's output pipe.
             ::GetDesktopWindow();
             WriteUtf16File(WindowsPathFromHost(args.Require(L"--ready-file")), L"");
             ::Sleep(INFINITE);
             return 0;
         }},
        {L"remove-folder",
         [](const Arguments& args) {
             RemoveFolderTree(WindowsPathFromHost(args.Require(L"--path")));
             return 0;
         }},
    };
    return kCommands;
}

constexpr char kUsage[] =
    "usage: vdriver COMMAND [options]\n"
    "  wait-window  --class C [--caption T] [--pid N] [--timeout-ms N]\n"
    "  list-windows [--class C] [--caption T] [--pid N] [--all] [--children]   (--all: hidden ones too)\n"
    "  post-command (--hwnd H | --class C [--caption T]) --id N\n"
    "  post-tray    (--hwnd H | --class C [--caption T]) --mouse WM_RBUTTONUP|N\n"
    "  tray-icons                       (icon window, owner window, owner pid, tip)\n"
    "  balloons                         (balloon window, owner window, owner pid, NIIF flag, title, text)\n"
    "  set-clipboard TEXT | set-clipboard-size N (UTF-16 units) | set-clipboard-image | get-clipboard\n"
    "  msgbox-text  --caption T [--timeout-ms N]\n"
    "  msgbox-press --caption T --button N [--timeout-ms N]\n"
    "  start        --exe P [--cwd D] [--args A] [--wait] [--timeout-ms N]\n"
    "  wait-exit    --pid N [--timeout-ms N]\n"
    "  make-folder  [FILE...]            (prints the new program folder)\n"
    "  write-utf16  --path P TEXT        (UTF-16LE with byte order mark)\n"
    "  remove-folder --path P\n"
    "  hold-desktop --ready-file P        (keeps the desktop process running until killed)\n";

}  // namespace

int wmain(int argc, wchar_t** argv) {
    HANDLE errors = ::GetStdHandle(STD_ERROR_HANDLE);
    try {
        if (argc < 2) throw UsageError("no command");
        const auto command = Commands().find(argv[1]);
        if (command == Commands().end()) throw UsageError("unknown command " + WideToUtf8(argv[1]));
        return command->second(Arguments(argc, argv, 2));
    } catch (const UsageError& error) {
        WriteOut(errors, std::string("vdriver: ") + error.what() + "\n" + kUsage);
        return kUsageError;
    } catch (const std::exception& error) {
        WriteOut(errors, std::string("vdriver: ") + error.what() + "\n");
        return 1;
    }
}
