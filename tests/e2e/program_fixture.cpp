#include "program_fixture.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "base/text_encoding.h"
#include "driver/message_boxes.h"
#include "driver/popup_menus.h"
#include "driver/tray_icons.h"
#include "driver/waiting.h"
#include "driver/window_queries.h"

namespace veltrano::e2e {
namespace {

SYSTEMTIME Today() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return now;
}

// Ends the program through its exit command when the test went well; a failed test may have
// left it in any state, so it is ended by force.
void Stop(const driver::StartedProgram& program, HWND window, bool testFailed) {
    if (!driver::IsRunning(program.process.Get())) {
        // A failure of a program that ended by itself says more with its exit code.
        if (testFailed) {
            std::cerr << "the program had ended with exit code "
                      << driver::WaitForExit(program.process.Get(), 0).value_or(0) << "\n";
        }
        return;
    }
    if (!testFailed && ::IsWindow(window)) {
        driver::PostCommand(window, kExitCommand);
        EXPECT_EQ(driver::WaitForExit(program.process.Get()), std::optional<DWORD>(0))
            << "the exit command did not end the program cleanly";
    }
    driver::KillProcess(program.process.Get());
}

}  // namespace

std::string Utf8(std::wstring_view text) { return WideToUtf8(text); }

void ProgramTest::SetUp() {
    folder_.emplace(driver::TemporaryProgramFolder::Create());
    programPath_ = folder_->CopyIn(driver::WindowsPathFromHost(Utf8ToWide(VELTRANO_EXE_HOST_PATH)));
    programFolder_ = dataFolder_ = folder_->Path();
}

void ProgramTest::UseInstalledProgram(const std::wstring& program, const std::wstring& dataFolder) {
    programPath_ = program;
    programFolder_ = program.substr(0, program.rfind(L'\\'));
    dataFolder_ = dataFolder;
}

void ProgramTest::TearDown() {
    for (const auto& other : others_) driver::KillProcess(other.process.Get());
    if (program_) Stop(*program_, mainWindow_, HasFailure());
}

std::wstring ProgramTest::UserName() {
    wchar_t buffer[257];
    DWORD size = static_cast<DWORD>(std::size(buffer));
    if (!::GetUserNameW(buffer, &size)) throw std::runtime_error("GetUserNameW failed");
    return buffer;
}

std::wstring ProgramTest::SettingsPath() const { return DataPath(L"_Veltrano.ini"); }

std::wstring ProgramTest::LogFolderPath() const { return DataPath(L"_log"); }

std::wstring ProgramTest::DataPath(std::wstring_view suffix) const {
    return dataFolder_ + L"\\" + UserName() + std::wstring(suffix);
}

std::string ProgramTest::TodaysLog() const {
    for (const SYSTEMTIME& day : DaysOfRun()) {
        wchar_t name[32];
        swprintf(name, std::size(name), L"\\%04u_%02u_%02u.txt", day.wYear, day.wMonth, day.wDay);
        if (driver::FileExists(LogFolderPath() + name)) return driver::ReadFileBytes(LogFolderPath() + name);
    }
    return {};
}

bool ProgramTest::Logged(const std::wstring& text) const {
    return driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TodaysLog().find(Utf8(text)) != std::string::npos; });
}

size_t ProgramTest::HistoryFileCount() const {
    size_t count = 0;
    std::error_code error;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(DataPath(L"_history"), error)) ++count;
    return count;
}

std::wstring ProgramTest::TakeMessageBox(const std::wstring& caption, int button) {
    const driver::WindowQuery query{
        .className = driver::kDialogClass, .caption = caption, .processId = ProcessId(), .visibleOnly = true};
    const HWND box = driver::WaitForWindow(query);
    if (!box) {
        ADD_FAILURE() << "no message box \"" << Utf8(caption) << "\" appeared";
        return {};
    }
    const std::wstring body = driver::MessageBoxText(box);
    driver::PressButton(box, button);
    // This box, not any with the caption: a question may be followed at once by the next one.
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [box] { return !::IsWindowVisible(box); }))
        << "the message box stayed after its button was pressed";
    return body;
}

std::vector<driver::BalloonInfo> ProgramTest::Balloons() const {
    std::vector<driver::BalloonInfo> balloons = driver::ListBalloons();
    std::erase_if(balloons, [&](const driver::BalloonInfo& balloon) { return balloon.owner != mainWindow_; });
    return balloons;
}

std::wstring ProgramTest::TrayTip() const {
    for (const driver::TrayIconInfo& icon : driver::ListTrayIcons()) {
        if (icon.owner == mainWindow_) return icon.tip;
    }
    return {};
}

void ProgramTest::ChooseManualReplacement(wchar_t accelerator, const std::function<void()>& whileOpen) {
    driver::PostTrayCallback(mainWindow_, WM_LBUTTONUP);
    const HWND menu = driver::WaitForPopupMenu(ProcessId());
    ASSERT_NE(menu, nullptr) << "the manual replacement menu did not open";
    if (whileOpen) whileOpen();
    driver::ChooseMenuAccelerator(menu, accelerator);
}

void ProgramTest::WriteDataText(std::wstring_view suffix, std::wstring_view text) const {
    driver::WriteFileBytes(DataPath(suffix), "\xEF\xBB\xBF" + WideToUtf8(text));
}

void ProgramTest::WriteSettings(std::wstring_view text) const { driver::WriteUtf16File(SettingsPath(), text); }

void ProgramTest::Start() {
    ASSERT_FALSE(program_) << "the fixture starts one main program per test";
    // As on a signed-in desktop, the shell's taskbar is there before the program starts: without
    // it the tray icon cannot be added and the program ends after its error box.
    ASSERT_NE(driver::WaitForWindow({.className = L"Shell_TrayWnd"}), nullptr) << "the desktop has no taskbar";
    startDay_ = Today();
    if (wineDebugChannels_.empty()) {
        program_.emplace(driver::StartProgram(programPath_, L"", programFolder_));
    } else {
        // Read by Wine when the child starts; the driver's own channels were set at its start.
        wchar_t previous[256] = L"";
        const bool hadChannels = ::GetEnvironmentVariableW(L"WINEDEBUG", previous, 256) - 1 < 255;
        ::SetEnvironmentVariableW(L"WINEDEBUG", wineDebugChannels_.c_str());
        program_.emplace(driver::StartProgram(programPath_, L"", programFolder_));
        ::SetEnvironmentVariableW(L"WINEDEBUG", hadChannels ? previous : nullptr);
    }
    const driver::WindowQuery mainWindow{.className = kMainWindowClass, .processId = ProcessId()};
    // An early end stops the wait at once instead of after the whole timeout.
    driver::PollUntil(driver::kDefaultTimeoutMs, [&] {
        mainWindow_ = driver::WaitForWindow(mainWindow, 0);
        return mainWindow_ != nullptr || !driver::IsRunning(Process());
    });
    ASSERT_TRUE(driver::IsRunning(Process()))
        << "the program ended at start with exit code " << driver::WaitForExit(Process(), 0).value_or(0);
    ASSERT_NE(mainWindow_, nullptr) << "no main window appeared";
    // The window exists from its first message on; only once the message loop waits for input
    // has creation finished, with the lists loaded and the clipboard listener registered.
    ASSERT_EQ(::WaitForInputIdle(Process(), driver::kDefaultTimeoutMs), 0u) << "the program never became idle";
    ASSERT_TRUE(::IsWindow(mainWindow_)) << "the main window was destroyed during start-up (error box shown: "
                                         << !driver::FindMessageBoxes(L"エラー - Veltrano").empty() << ")";
}

void ProgramTest::CaptureStandardError(const std::wstring& wineDebugChannels) { wineDebugChannels_ = wineDebugChannels; }

std::string ProgramTest::StandardError() {
    wchar_t file[MAX_PATH] = L"";
    if (::GetEnvironmentVariableW(L"VELTRANO_STDERR_FILE", file, MAX_PATH) == 0) return {};
    return driver::ReadFileBytes(driver::WindowsPathFromHost(file));
}

void ProgramTest::Restart() {
    ASSERT_TRUE(program_ && !driver::IsRunning(Process())) << "restart only after the program ended";
    program_.reset();
    mainWindow_ = nullptr;
    Start();
}

driver::StartedProgram& ProgramTest::StartAnother(const std::wstring& arguments) {
    return others_.emplace_back(driver::StartProgram(programPath_, arguments, programFolder_));
}

void ProgramTest::Exit() {
    ASSERT_TRUE(program_ && driver::IsRunning(Process())) << "the program is not running";
    driver::PostCommand(mainWindow_, kExitCommand);
    const auto code = driver::WaitForExit(Process());
    ASSERT_TRUE(code.has_value()) << "the program did not end after the exit command";
    EXPECT_EQ(*code, 0u);
}

std::vector<SYSTEMTIME> ProgramTest::DaysOfRun() const {
    std::vector<SYSTEMTIME> days{startDay_};
    const SYSTEMTIME today = Today();
    if (today.wDay != startDay_.wDay || today.wMonth != startDay_.wMonth || today.wYear != startDay_.wYear) {
        days.push_back(today);
    }
    return days;
}

}  // namespace veltrano::e2e
