// The real clipboard: needs a display of its own.
#include "guard/clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "guard/detected_clipboard_clearing.h"
#include "support/program_data.h"

namespace veltrano {
namespace {

TEST(Clipboard, WrittenTextReadsBackWhole) {
    const std::wstring text = L"機密 password\r\n" + std::wstring(1 << 20, L'x');
    ASSERT_TRUE(WriteClipboardText(text, nullptr));
    EXPECT_EQ(ReadClipboardText(nullptr), text);

    ASSERT_TRUE(WriteClipboardText(L"", nullptr));
    EXPECT_EQ(ReadClipboardText(nullptr), std::wstring());
}

TEST(Clipboard, NoTextFormatGivesNoText) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HBITMAP bitmap = ::CreateBitmap(4, 4, 1, 32, nullptr);
    ::SetClipboardData(CF_BITMAP, bitmap);
    ::CloseClipboard();
    EXPECT_EQ(ReadClipboardText(nullptr), std::nullopt);
}

// "CanIncludeInClipboardHistory" that is there but cannot be read keeps the copy out of the history.
TEST(Clipboard, AnUnreadableHistoryMarkerMeansNotForHistory) {
    const UINT marker = ::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
    for (const SIZE_T bytes : {SIZE_T{0}, SIZE_T{2}}) {
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 5 * sizeof(wchar_t));
        std::memcpy(::GlobalLock(text), L"text", 4 * sizeof(wchar_t));
        ::GlobalUnlock(text);
        ::SetClipboardData(CF_UNICODETEXT, text);
        // No data at all (to be rendered by an owner that never does), or two bytes of four.
        ::SetClipboardData(marker, bytes ? ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes) : nullptr);
        ::CloseClipboard();
        const ClipboardContent content = ReadClipboardContent(nullptr);
        EXPECT_EQ(content.text, std::optional<std::wstring>(L"text"));
        EXPECT_EQ(PrivacyOf(content.markers), CopyPrivacy::NotForHistory) << bytes << " bytes";
    }
}

// Each copy is named with what was read with it: an owner window's program, or a guess.
TEST(Clipboard, TheCopyingProgramIsTheOwnersOrAGuess) {
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(WriteClipboardText(L"owned", owner));
    const ArrivedClipboardSource arrived = TakeArrivedClipboardSource();
    const ClipboardContent owned = ReadClipboardContent(nullptr);
    EXPECT_EQ(owned.source.program, L"unit_display_tests.exe");
    EXPECT_FALSE(owned.source.guessed);
    EXPECT_EQ(owned.sequence, ::GetClipboardSequenceNumber());
    EXPECT_TRUE(ReadClipboardContent(nullptr, L" UNIT_DISPLAY_TESTS.EXE").ignored);
    ::DestroyWindow(owner);
    // Named when its update arrived, a copy keeps its program after its owner is gone; a later one does not.
    EXPECT_EQ(ReadClipboardContent(nullptr, {}, arrived).source.Shown(), L"unit_display_tests.exe");

    ASSERT_TRUE(WriteClipboardText(L"ownerless", nullptr));
    const ClipboardContent ownerless = ReadClipboardContent(nullptr, L"unit_display_tests.exe", arrived);
    EXPECT_EQ(ownerless.text, std::optional<std::wstring>(L"ownerless")) << "a guess is never ignored";
    EXPECT_FALSE(ownerless.ignored);
    EXPECT_TRUE(ownerless.source.guessed || ownerless.source.program == L"不明");
}

// Armed with the detected copy's own number: a newer copy is never emptied for an older one's
// warning, and a copy warned about inside an older one's handling keeps its clearing.
TEST(Clipboard, TheClearingEmptiesOnlyTheCopyThatWasWarnedAbout) {
    test::ProgramData data;
    data.settings.Ini().WriteString(section::kNotify, L"ClearDetectedClipboardSeconds", L"60");
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"main", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DetectedClipboardClearing clearing(data.settings, data.log);
    clearing.AttachWindow(window);
    const auto copy = [](const wchar_t* text) {
        EXPECT_TRUE(WriteClipboardText(text, nullptr));
        return ReadClipboardContent(nullptr).sequence;
    };
    const DWORD first = copy(L"first");
    const DWORD second = copy(L"second");
    clearing.OnDetection(second);
    clearing.OnDetection(first);
    EXPECT_TRUE(clearing.OnTimer());
    EXPECT_EQ(ReadClipboardText(nullptr), std::nullopt);

    const DWORD third = copy(L"third");
    clearing.OnDetection(second);
    EXPECT_FALSE(clearing.OnTimer());
    clearing.OnDetection(third);
    data.settings.Ini().WriteString(section::kNotify, L"ClearDetectedClipboardSeconds", L"0");
    EXPECT_FALSE(clearing.OnTimer()) << "switched off since the detection";
    EXPECT_EQ(ReadClipboardText(nullptr), L"third");
    ::DestroyWindow(window);
}

TEST(Clipboard, WriteGivesUpWhileAnotherHolderKeepsItOpen) {
    ASSERT_TRUE(WriteClipboardText(L"before", nullptr));
    std::atomic<bool> opened{false}, release{false};
    std::thread holder([&] {
        HWND window = ::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        if (::OpenClipboard(window)) {
            opened = true;
            while (!release) ::Sleep(10);
            ::CloseClipboard();
        }
        ::DestroyWindow(window);
    });
    while (!opened) ::Sleep(5);

    EXPECT_FALSE(WriteClipboardText(L"after", nullptr));
    EXPECT_EQ(ReadClipboardText(nullptr), std::nullopt) << "the holder has it open, so it cannot be read now";
    release = true;
    holder.join();
    EXPECT_EQ(ReadClipboardText(nullptr), L"before") << "a failed write must not have emptied it";
}

}  // namespace
}  // namespace veltrano
