#include "floor_listener.h"

#include <windows.h>
#include <process.h>

#include <memory>

#include "veltrano_program.h"

namespace veltrano::bench {
namespace {

struct Box {
    HWND owner;
    std::wstring body;
};

unsigned __stdcall ShowBox(void* parameter) {
    const std::unique_ptr<Box> box(static_cast<Box*>(parameter));
    ::MessageBoxW(box->owner, box->body.c_str(), kDetectionCaption, MB_OK | MB_ICONWARNING);
    return 0;
}

// The text as a guard would hold it: copied out of the clipboard's block.
std::wstring ReadText(HWND window) {
    if (!::OpenClipboard(window)) return {};
    std::wstring text;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* locked = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = locked;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

const std::wstring* boxBody = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLIPBOARDUPDATE:
            if (!ReadText(window).empty()) {
                auto box = std::make_unique<Box>(Box{window, *boxBody});
                const uintptr_t thread = ::_beginthreadex(nullptr, 0, &ShowBox, box.get(), 0, nullptr);
                if (thread) {
                    box.release();
                    ::CloseHandle(reinterpret_cast<HANDLE>(thread));
                }
            }
            return 0;
        case WM_DESTROY: ::PostQuitMessage(0); return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int RunFloorListener(const std::wstring& body) {
    boxBody = &body;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kFloorWindowClass;
    if (!::RegisterClassExW(&windowClass)) return 1;
    const HWND window = ::CreateWindowExW(0, kFloorWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                                          windowClass.hInstance, nullptr);
    if (!window || !::AddClipboardFormatListener(window)) return 1;
    ::SetWindowTextW(window, kFloorListeningCaption);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace veltrano::bench
