#include "selftest/platform_checks.h"

#include <bcrypt.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/error_text.h"
#include "base/scope_exit.h"
#include "base/sha256.h"
#include "base/text_encoding.h"
#include "base/windows_version.h"
#include "notify/tray_icon.h"
#include "storage/file_system.h"
#include "storage/text_files.h"
#include "textwindow/clipboard_text_window.h"

namespace veltrano {
namespace {

constexpr wchar_t kScratchWindowClass[] = L"VeltranoSelfTestWindow";
// Windows 10 version 2004: the first build that excludes a window from screen capture.
constexpr DWORD kCaptureExclusionBuild = 19041;

CheckVerdict Passed(std::wstring detail) { return {CheckOutcome::Passed, std::move(detail)}; }
CheckVerdict Failed(std::wstring detail) { return {CheckOutcome::Failed, std::move(detail)}; }

std::wstring LastErrorText() { return SystemErrorText(::GetLastError()); }

// A hidden top-level window that is never shown: what the listener, the icon and the capture
// exclusion are tried on, so the guard's own window is never touched.
class ScratchWindow {
public:
    explicit ScratchWindow(HINSTANCE instance) : instance_(instance) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kScratchWindowClass;
        ::RegisterClassExW(&windowClass);  // already registered by an earlier run: fine
        window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kScratchWindowClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    instance, nullptr);
    }
    ~ScratchWindow() {
        if (window_) ::DestroyWindow(window_);
    }
    ScratchWindow(const ScratchWindow&) = delete;
    ScratchWindow& operator=(const ScratchWindow&) = delete;

    HWND Get() const {
        if (!window_) throw std::runtime_error(WideToUtf8(L"確認用のウィンドウを作れません: " + LastErrorText()));
        return window_;
    }
    HINSTANCE Instance() const { return instance_; }

private:
    HINSTANCE instance_;
    HWND window_ = nullptr;
};

std::string RandomBytes(size_t count) {
    std::string bytes(count, '\0');
    if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(count),
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        throw std::runtime_error("BCryptGenRandom failed");
    }
    return bytes;
}

// Writes with `write`, reads back with `read`, and deletes the scratch file whatever happens.
template <typename Write, typename Read>
bool RoundTrip(const std::wstring& path, const std::string& bytes, Write write, Read read) {
    const ScopeExit remove([&] { ::DeleteFileW(path.c_str()); });
    write(path, bytes);
    return read(path) == bytes;
}

CheckVerdict FolderWritable(const DataPaths& paths) {
    const std::wstring scratch = paths.DataFile(L"_selftest_scratch", L".txt");
    if (scratch.empty()) return Failed(L"データフォルダが分かりません");
    if (!RoundTrip(scratch, WideToUtf8(L"動作チェック"), WriteUtf8TextFile, ReadUtf8TextFile)) {
        return Failed(L"書いた内容と読んだ内容が違います: " + scratch);
    }
    return Passed(paths.dataFolder);
}

CheckVerdict SettingsReadable(const DataPaths& paths) {
    const std::wstring file = paths.SettingsFile();
    if (!FileExists(file)) return Passed(L"ファイルがありません（既定値で動きます）: " + file);
    return Passed(std::to_wstring(ReadWholeFile(file).size()) + L" バイト: " + file);
}

CheckVerdict DataProtection(const DataPaths& paths) {
    constexpr size_t kBlock = 4096;
    const std::wstring scratch = paths.DataFile(L"_selftest_scratch", L".bin");
    if (!RoundTrip(scratch, RandomBytes(kBlock), WriteEncryptedFile, ReadEncryptedFile)) {
        return Failed(L"復号した内容が元と違います");
    }
    return Passed(std::to_wstring(kBlock) + L" バイトを暗号化して復号しました");
}

// HMAC-SHA256 test case 2 of RFC 4231.
CheckVerdict KeyedHash() {
    constexpr std::string_view kKey = "Jefe";
    constexpr std::string_view kData = "what do ya want for nothing?";
    constexpr Sha256Digest kExpected = {0x5b, 0xdc, 0xc1, 0x46, 0xbf, 0x60, 0x75, 0x4e, 0x6a, 0x04, 0x24,
                                        0x26, 0x08, 0x95, 0x75, 0xc7, 0x5a, 0x00, 0x3f, 0x08, 0x9d, 0x27,
                                        0x39, 0x83, 0x9d, 0xec, 0x58, 0xb9, 0x64, 0xec, 0x38, 0x43};
    const Sha256Digest digest = Sha256(std::as_bytes(std::span(kData)),
                                       std::span(reinterpret_cast<const std::uint8_t*>(kKey.data()), kKey.size()));
    if (digest != kExpected) return Failed(L"HMAC-SHA256 の結果が既知の値と違います");
    return Passed(L"HMAC-SHA256 の結果が既知の値と一致しました");
}

CheckVerdict ClipboardSequence() {
    const DWORD sequence = ::GetClipboardSequenceNumber();
    if (sequence == 0) return Failed(L"クリップボードにアクセスできません（連番が 0）");
    return Passed(L"連番 " + std::to_wstring(sequence));
}

CheckVerdict ClipboardListener(const ScratchWindow& window) {
    if (!::AddClipboardFormatListener(window.Get())) return Failed(L"AddClipboardFormatListener: " + LastErrorText());
    if (!::RemoveClipboardFormatListener(window.Get())) return Failed(L"RemoveClipboardFormatListener: " + LastErrorText());
    return Passed(L"監視の登録と解除ができました");
}

CheckVerdict NotificationIcon(const ScratchWindow& window) {
    TrayIcon icon;
    if (!icon.Add(window.Get(), window.Instance(), L"Veltrano 動作チェック")) {
        return Failed(L"Shell_NotifyIconW: " + LastErrorText());
    }
    icon.Remove();
    return Passed(L"アイコンの追加と削除ができました");
}

CheckVerdict TaskbarCreatedMessage() {
    const UINT message = ::RegisterWindowMessageW(kTaskbarCreatedMessageName);
    if (message == 0) return Failed(L"RegisterWindowMessageW: " + LastErrorText());
    return Passed(L"メッセージ " + std::to_wstring(message));
}

CheckVerdict CaptureExclusion(const ScratchWindow& window) {
    const std::optional<WindowsVersion> version = RunningWindowsVersion();
    if (!version || version->build < kCaptureExclusionBuild) {
        return {CheckOutcome::NotApplicable, L"Windows 10 バージョン 2004 より前のビルドです"};
    }
    if (!SetSystemDisplayAffinity(window.Get(), WDA_EXCLUDEFROMCAPTURE)) return Failed(L"SetWindowDisplayAffinity: " + LastErrorText());
    DWORD affinity = WDA_NONE;
    const bool read = ::GetWindowDisplayAffinity(window.Get(), &affinity);
    SetSystemDisplayAffinity(window.Get(), WDA_NONE);
    if (!read) return Failed(L"GetWindowDisplayAffinity: " + LastErrorText());
    if (affinity != WDA_EXCLUDEFROMCAPTURE) return Failed(L"除外が設定されませんでした（値 " + std::to_wstring(affinity) + L"）");
    return Passed(L"除外の設定と解除ができました");
}

}  // namespace

std::vector<SelfTestCheck> PlatformChecks(HINSTANCE instance, const DataPaths& paths) {
    const auto window = std::make_shared<ScratchWindow>(instance);
    return {
        {kFolderCheckName, [paths] { return FolderWritable(paths); }},
        {L"設定ファイルの読み込み", [paths] { return SettingsReadable(paths); }},
        {L"データ保護（暗号化と復号）", [paths] { return DataProtection(paths); }},
        {L"キー付きハッシュ", KeyedHash},
        {L"クリップボードの連番", ClipboardSequence},
        {L"クリップボードの監視", [window] { return ClipboardListener(*window); }},
        {L"通知領域アイコン", [window] { return NotificationIcon(*window); }},
        {L"タスクバー再作成の通知", TaskbarCreatedMessage},
        {L"画面キャプチャからの除外", [window] { return CaptureExclusion(*window); }},
    };
}

}  // namespace veltrano
