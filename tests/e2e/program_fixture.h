#pragma once
// One Veltrano.exe per test: a fresh copy in its own Japanese-named program folder, prepared
// settings, and an exit through the program's own exit command at the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/balloons.h"
#include "driver/processes.h"
#include "driver/program_folder.h"

namespace veltrano::e2e {

inline constexpr wchar_t kMainWindowClass[] = L"VeltranoClass";
inline constexpr wchar_t kProductName[] = L"Veltrano";
inline constexpr WORD kExitCommand = 40001;

// Texts compared as UTF-8 so that a failure prints them readably rather than as code points.
std::string Utf8(std::wstring_view text);

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Ends what is still running: by the exit command when the test went well, by force otherwise.
    void TearDown() override;

    // The Windows user's name, the prefix of every data file.
    static std::wstring UserName();
    std::wstring SettingsPath() const;
    std::wstring LogFolderPath() const;
    // A data file or folder of the Windows user in the data folder: user name + suffix.
    std::wstring DataPath(std::wstring_view suffix) const;
    std::wstring ProgramPath() const { return programPath_; }
    // From now on the program is the one at `program` (an installed copy) with its data in `dataFolder`.
    void UseInstalledProgram(const std::wstring& program, const std::wstring& dataFolder);

    // The log file of the day of the run (empty when there is none), and whether it comes to hold `text`.
    std::string TodaysLog() const;
    bool Logged(const std::wstring& text) const;
    // The files in the history folder: one sealed file per recorded text.
    size_t HistoryFileCount() const;

    // Writes a data file as UTF-8 with byte order mark, as the program writes its text files.
    void WriteDataText(std::wstring_view suffix, std::wstring_view text) const;
    // Writes the settings file as UTF-16LE with byte order mark, as the program keeps it.
    void WriteSettings(std::wstring_view text) const;

    // The next Start gives the program these Wine debug channels (WINEDEBUG). Wine prints them to
    // the Unix standard error the test inherited: StandardError reads it from the file that the
    // test's VELTRANO_STDERR_FILE names (set in its CMake entry).
    void CaptureStandardError(const std::wstring& wineDebugChannels);
    static std::string StandardError();

    // Starts the program and waits for its main window (or its early end, reported with the
    // exit code). Use with ASSERT_NO_FATAL_FAILURE.
    void Start();
    // After Exit(): starts the program again in the same folder, with the files it left.
    void Restart();
    // Starts one more copy from the same folder without waiting for anything.
    driver::StartedProgram& StartAnother(const std::wstring& arguments = L"");
    // Sends the exit command and expects the process to end with exit code 0.
    void Exit();

    // Waits for a message box of the program with this caption, gives its body and closes it
    // with the button (OK unless told). Empty (and a test failure) when none appeared.
    std::wstring TakeMessageBox(const std::wstring& caption, int button = IDOK);

    // The balloons of the program's tray icon on screen now, and the icon's tooltip.
    std::vector<driver::BalloonInfo> Balloons() const;
    std::wstring TrayTip() const;
    // Opens the manual replacement menu by the tray icon's left click (its default) and chooses
    // the item with the accelerator, after running `whileOpen`. Use with ASSERT_NO_FATAL_FAILURE.
    void ChooseManualReplacement(wchar_t accelerator, const std::function<void()>& whileOpen = {});

    HANDLE Process() const { return program_->process.Get(); }
    DWORD ProcessId() const { return program_->processId; }
    HWND MainWindow() const { return mainWindow_; }
    // The local dates seen around the run, for files named by the day they were written.
    std::vector<SYSTEMTIME> DaysOfRun() const;

private:
    std::optional<driver::TemporaryProgramFolder> folder_;
    std::wstring programPath_;
    std::wstring programFolder_;
    std::wstring dataFolder_;
    std::optional<driver::StartedProgram> program_;
    std::deque<driver::StartedProgram> others_;  // a deque keeps handed-out references valid
    HWND mainWindow_ = nullptr;
    SYSTEMTIME startDay_{};
    std::wstring wineDebugChannels_;  // empty: the test's own
};

}  // namespace veltrano::e2e
