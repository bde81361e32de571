#include "stores/clipboard_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <stdexcept>

#include "base/text_encoding.h"
#include "storage/file_system.h"
#include "storage/text_files.h"
#include "support/fake_clipboard.h"
#include "support/program_data.h"
#include "support/raw_files.h"
#include "support/recording_notifier.h"

namespace veltrano {
namespace {

constexpr size_t kMenuItems = 3000;

class ClipboardHistoryTest : public ::testing::Test, protected test::ProgramData {
protected:
    ClipboardHistoryTest() {
        EXPECT_TRUE(settings.Ini().WriteBool(section::kLog, L"UseLog", true));
        clock.Set(2026, 12, 6, 16, 33, 24, 45);
        // Every file is written well after its copy, as a giant copy's is: nothing may read,
        // count or replace a file before the writes queued ahead of it are done.
        history.SetSealer([](const std::wstring& path, std::wstring text) {
            ::Sleep(20);
            WriteEncryptedText(path, std::move(text));
        });
    }

    std::wstring HistoryFolder() const { return folder / L"taro_history"; }
    std::wstring FileOf(const std::wstring& name) const { return HistoryFolder() + L"\\" + name; }

    void Set(const wchar_t* key, int value) {
        ASSERT_TRUE(settings.Ini().WriteInt(section::kClipboardHistory, key, value));
    }

    // A sealed history file written by hand, as an earlier run would have left it.
    void Seal(const std::wstring& name, const std::string& bytes) {
        ASSERT_TRUE(CreateFolders(HistoryFolder()));
        WriteEncryptedFile(FileOf(name), bytes);
    }

    // Each call a second later, so that names follow the order of the calls.
    void Record(const std::wstring& text) {
        history.Add(text);
        clock.now.wSecond = static_cast<WORD>((clock.now.wSecond + 1) % 60);
        if (clock.now.wSecond == 0) ++clock.now.wMinute;
    }

    // What the list and the folder hold once the queued writes are done.
    std::vector<std::wstring> Texts() {
        history.FinishWrites();
        std::vector<std::wstring> texts;
        for (const auto& entry : history.Entries()) texts.push_back(ReadHistoryText(entry.path));
        return texts;
    }
    std::vector<std::wstring> Paths() {
        history.FinishWrites();
        std::vector<std::wstring> paths;
        for (const auto& entry : history.Entries()) paths.push_back(entry.path);
        return paths;
    }

    // Loads from now on read the folder only once released (or stopped): the test decides what
    // happens while a load is under way, whatever the worker's pace.
    void HoldLoads() {
        history.SetFolderReader([this](const std::wstring& folder, size_t maxCount, std::stop_token stop) {
            while (!released && !stop.stop_requested()) ::Sleep(1);
            return ReadHistoryFolder(folder, maxCount, stop);
        });
    }

    void LoadAndWait() {
        history.Load();
        history.WaitForLoad();
    }

    std::vector<std::wstring> NamesOnDisk() {
        history.FinishWrites();
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(HistoryFolder())) {
            names.push_back(entry.path().filename().wstring());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::wstring LogText() const {
        const std::string bytes = test::ReadBytes(log.LogFilePath());
        return bytes.size() < 3 ? L"" : Utf8ToWide(std::string_view(bytes).substr(3));
    }

    std::wstring ReadEntryFile(const std::wstring& path) const { return Utf8ToWide(ReadEncryptedFile(path)); }

    std::atomic<bool> released = false;
    test::RecordingNotifier notifier;
    test::FakeClipboard clipboard;
    ClipboardHistory history{settings, paths, notifier, log, clock, clipboard};
};

TEST(HistoryFileName, DateTimeAndMillisecondsThenSequenceThatSortsInRecordingOrder) {
    const SYSTEMTIME time{2026, 12, 0, 6, 16, 33, 24, 45};
    EXPECT_EQ(HistoryFileName(time, 0), L"20261206_163324_045.bin");
    EXPECT_EQ(HistoryFileName(time, 1), L"20261206_163324_045_001.bin");
    EXPECT_EQ(HistoryFileName(SYSTEMTIME{987, 1, 0, 2, 3, 4, 5, 6}, 0), L"09870102_030405_006.bin");

    SYSTEMTIME next = time;
    ++next.wMilliseconds;
    // "." sorts before "_", and the fixed width keeps 10 after 9.
    const std::vector<std::wstring> ascending = {HistoryFileName(time, 0), HistoryFileName(time, 1),
                                                 HistoryFileName(time, 9), HistoryFileName(time, 10),
                                                 HistoryFileName(time, 999), HistoryFileName(next, 0)};
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
    EXPECT_EQ(std::adjacent_find(ascending.begin(), ascending.end()), ascending.end());
}

TEST_F(ClipboardHistoryTest, AddSealsTheTextInAFileNamedByTheLocalTime) {
    history.Add(L"機密 text");

    const std::wstring path = FileOf(L"20261206_163324_045.bin");
    ASSERT_EQ(Texts(), std::vector<std::wstring>{L"機密 text"});
    EXPECT_EQ(Paths(), std::vector<std::wstring>{path});
    EXPECT_EQ(ReadEntryFile(path), L"機密 text");
    EXPECT_EQ(test::ReadBytes(path).find(WideToUtf8(L"機密")), std::string::npos) << "never plain text on disk";
    EXPECT_EQ(NamesOnDisk(), std::vector<std::wstring>{L"20261206_163324_045.bin"});
    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_EQ(LogText(), L"") << "recording writes no log";
}

TEST_F(ClipboardHistoryTest, TheSameTextAgainMovesToTheFrontUnderANewFile) {
    Record(L"a");
    Record(L"b");
    Record(L"a");

    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(history.Entries()[0].path, FileOf(L"20261206_163326_045.bin"));
    EXPECT_EQ(NamesOnDisk(), (std::vector<std::wstring>{L"20261206_163325_045.bin", L"20261206_163326_045.bin"}));

    Record(L"a ");  // equal means equal length too
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"a ", L"a", L"b"}));

    {
        // A write that finishes while the menu is open moves nothing behind its commands.
        const ClipboardHistory::MenuOpenGuard open(history);
        Record(L"b");
        history.FinishWrites();
        EXPECT_EQ(history.Entries().size(), 3u);
    }
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"a ", L"a", L"b"})) << "copied with the menu open: not recorded";
    Record(L"b");
    EXPECT_EQ(history.Entries().size(), 4u) << "its place is taken at once";
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"b", L"a ", L"a"}));

    // A copy whose file cannot be written goes, and the older entry of its text stays.
    history.SetSealer([](const std::wstring&, std::wstring) { throw std::runtime_error("disk full"); });
    Record(L"a");
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"b", L"a ", L"a"}));
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body, L"クリップボード履歴ファイルの書き込みに失敗しました。");
    history.SetSealer(WriteEncryptedText);

    // A lone surrogate is stored as U+FFFD: the copy equals what its file holds.
    Record(std::wstring(L"x\xD800y"));
    Record(std::wstring(L"x\xD800y"));
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"x\xFFFDy", L"b", L"a ", L"a"}));
    EXPECT_EQ(NamesOnDisk().size(), 4u);
}

TEST_F(ClipboardHistoryTest, BeyondTheMaximumTheOldestEntryAndItsFileGo) {
    Set(L"ClipboardHistoryMaxCount", 3);
    for (const wchar_t* text : {L"1", L"2", L"3", L"4"}) Record(text);
    // The copy of an entry's text counts once, even before its write has found the duplicate.
    Record(L"3");
    Record(L"2");

    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"2", L"3", L"4"}));
    EXPECT_EQ(NamesOnDisk(), (std::vector<std::wstring>{L"20261206_163327_045.bin", L"20261206_163328_045.bin",
                                                        L"20261206_163329_045.bin"}));
}

TEST_F(ClipboardHistoryTest, EntriesOfOneMillisecondGetDistinctNamesInRecordingOrder) {
    for (int i = 0; i < 12; ++i) history.Add(L"text " + std::to_wstring(i));

    ASSERT_EQ(history.Entries().size(), 12u);
    EXPECT_EQ(history.Entries()[11].path, FileOf(L"20261206_163324_045.bin"));
    EXPECT_EQ(history.Entries()[10].path, FileOf(L"20261206_163324_045_001.bin"));
    EXPECT_EQ(history.Entries()[0].path, FileOf(L"20261206_163324_045_011.bin"));
    const std::vector<std::wstring> beforeLoad = Texts();

    LoadAndWait();
    EXPECT_EQ(Texts(), beforeLoad) << "loading sorts them the way they were recorded";
    EXPECT_EQ(Texts().front(), L"text 11");
}

TEST_F(ClipboardHistoryTest, NothingIsRecordedWhileTheMenuIsOpenOrHistoryIsOffOrTheTextIsEmpty) {
    {
        ClipboardHistory::MenuOpenGuard open(history);
        EXPECT_TRUE(history.MenuOpen());
        history.Add(L"while open");
    }
    EXPECT_FALSE(history.MenuOpen());
    history.Add(L"");
    Set(L"UseClipboardHistory", 0);
    history.Add(L"while off");

    EXPECT_TRUE(history.Entries().empty());
    EXPECT_FALSE(std::filesystem::exists(HistoryFolder()));

    Set(L"UseClipboardHistory", 1);
    history.Add(L"after");
    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"after"});
}

TEST_F(ClipboardHistoryTest, LoadPutsTheNewestNameFirstAndKeepsOnlyTheNewestFileOfATextString) {
    Seal(L"20260101_000000_000.bin", "same");
    Seal(L"20260102_000000_000.bin", "same");
    Seal(L"20260101_120000_000.bin", "\xE5\x88\xA5");

    LoadAndWait();

    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"same", L"別"}));
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{FileOf(L"20260102_000000_000.bin"), FileOf(L"20260101_120000_000.bin")}));
    EXPECT_EQ(NamesOnDisk(), (std::vector<std::wstring>{L"20260101_120000_000.bin", L"20260102_000000_000.bin"}));
    EXPECT_EQ(LogText(), L"");
}

// Only a file that holds nothing goes: one that cannot be read or unsealed today (held open by a
// scanner, sealed under another account, damaged) is the user's and stays for a later load.
TEST_F(ClipboardHistoryTest, LoadDeletesEmptyFilesAndKeepsUnreadableAndUndecodableOnes) {
    Seal(L"1_garbage.bin", "");
    test::WriteBytes(FileOf(L"1_garbage.bin"), "not a sealed blob");
    test::WriteBytes(FileOf(L"2_zero.bin"), "");
    Seal(L"3_sealed_empty.bin", "");
    Seal(L"4_bad_utf8.bin", "\xFF\xFE");
    Seal(L"5_good.bin", "good");
    Seal(L"6_held.bin", "held");
    const UniqueFileHandle held = test::HoldFile(FileOf(L"6_held.bin"), 0);
    ASSERT_TRUE(held);

    LoadAndWait();

    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"good"});
    EXPECT_EQ(NamesOnDisk(),
              (std::vector<std::wstring>{L"1_garbage.bin", L"4_bad_utf8.bin", L"5_good.bin", L"6_held.bin"}));
    const std::wstring logText = LogText();
    for (const wchar_t* unreadable : {L"1_garbage.bin", L"6_held.bin"}) {
        EXPECT_NE(logText.find(L"[ClipboardHistory][暗号ファイルの読み込みに失敗]file=" + FileOf(unreadable) + L", error="),
                  std::wstring::npos)
            << logText;
    }
    EXPECT_NE(logText.find(L"[ClipboardHistory][UTF-8 から UTF-16 への変換に失敗]file=" + FileOf(L"4_bad_utf8.bin") +
                           L", error="),
              std::wstring::npos)
        << logText;
    EXPECT_EQ(logText.find(L"_zero"), std::wstring::npos) << "an empty file goes without a log line";
    EXPECT_EQ(logText.find(L"3_sealed_empty"), std::wstring::npos) << "an empty sealed text goes without a log line";
    EXPECT_EQ(std::count(logText.begin(), logText.end(), L'\n'), 3) << logText;
    EXPECT_TRUE(notifier.notifications.empty());
}

TEST_F(ClipboardHistoryTest, LoadLeavesOtherExtensionsAndFoldersAlone) {
    Seal(L"20260101_000000_000.BIN", "upper");
    Seal(L"20260101_000000_001.txt", "text");
    Seal(L"20260101_000000_002.bin.old", "old");
    test::WriteBytes(FileOf(L"garbage.BIN"), "not sealed");
    ASSERT_TRUE(CreateFolders(FileOf(L"20260101_000000_003.bin")));
    Seal(L"20260101_000000_004.bin", "kept");

    LoadAndWait();

    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"kept"});
    EXPECT_EQ(NamesOnDisk(), (std::vector<std::wstring>{L"20260101_000000_000.BIN", L"20260101_000000_001.txt",
                                                        L"20260101_000000_002.bin.old", L"20260101_000000_003.bin",
                                                        L"20260101_000000_004.bin", L"garbage.BIN"}));
}

TEST_F(ClipboardHistoryTest, LoadTrimsTheOldestBeyondALoweredMaximum) {
    for (const wchar_t* text : {L"1", L"2", L"3", L"4"}) Record(text);
    Set(L"ClipboardHistoryMaxCount", 2);

    LoadAndWait();

    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"4", L"3"}));
    EXPECT_EQ(NamesOnDisk(), (std::vector<std::wstring>{L"20261206_163326_045.bin", L"20261206_163327_045.bin"}));
}

TEST_F(ClipboardHistoryTest, LoadWithHistoryOffKeepsTheListAndTheFiles) {
    Record(L"kept");
    Seal(L"29991231_000000_000.bin", "newer");
    Set(L"UseClipboardHistory", 0);

    LoadAndWait();

    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"kept"});
    EXPECT_EQ(NamesOnDisk().size(), 2u);
}

// Until a load completes the list is empty and copies wait, so a copy that equals an entry not
// yet read still ends with one file, and trimming counts the loaded entries.
TEST_F(ClipboardHistoryTest, CopiesDuringALoadAreRecordedAfterItAgainstTheWholeHistory) {
    Set(L"ClipboardHistoryMaxCount", 3);
    Seal(L"20260101_000000_000.bin", "oldest");
    Seal(L"20260101_000000_001.bin", "same");
    Seal(L"20260101_000000_002.bin", "newest");

    HoldLoads();
    history.Load();
    Record(L"new");
    Record(L"same");
    EXPECT_TRUE(history.Entries().empty());
    EXPECT_EQ(history.BuildMenu(kMenuItems), (MenuEntries{{L"―― 履歴読み込み中 ――", std::nullopt}}));
    EXPECT_EQ(NamesOnDisk().size(), 3u) << "nothing recorded before the load completes";

    {
        // The load may complete while the menu is open: it shows only the greyed item then.
        const ClipboardHistory::MenuOpenGuard open(history);
        released = true;
        history.WaitForLoad();
    }
    EXPECT_FALSE(history.Loading());
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"same", L"new", L"newest"}));
    // Named when they are recorded, in the order they were copied.
    EXPECT_EQ(NamesOnDisk(), (std::vector<std::wstring>{L"20260101_000000_002.bin", L"20261206_163326_045.bin",
                                                        L"20261206_163326_045_001.bin"}));

    history.Load();
    Record(L"at exit");
    history.Close();  // as at the end of the session, when nothing runs after it
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(HistoryFolder()), {}), 4)
        << "a copy queued during the load is sealed and on disk";

    {
        // The exit writes every queued file before the history goes.
        ClipboardHistory exiting{settings, paths, notifier, log, clock, clipboard};
        exiting.SetSealer([](const std::wstring& path, std::wstring text) {
            ::Sleep(50);
            WriteEncryptedText(path, std::move(text));
        });
        for (const wchar_t* text : {L"last 1", L"last 2"}) exiting.Add(text);
    }
    EXPECT_EQ(NamesOnDisk().size(), 6u);
}

// However a load ends, what was copied meanwhile is stored: copied with the menu open, when the
// completion message never came, or when the load's own report failed.
TEST_F(ClipboardHistoryTest, CopiesDuringALoadSurviveTheMenuALostMessageAndAFailedReport) {
    Set(L"ClipboardHistoryMaxCount", 3);
    Seal(L"20260101_000000_000.bin", "old");
    std::atomic<bool> read = false;
    history.SetLoadedHandler([&] { read = true; });  // its message never arrives
    HoldLoads();
    history.Load();
    for (const wchar_t* text : {L"1", L"2", L"1", L"3"}) Record(text);  // one place per text, three at most
    {
        const ClipboardHistory::MenuOpenGuard open(history);
        EXPECT_EQ(history.BuildMenu(kMenuItems), (MenuEntries{{L"―― 履歴読み込み中 ――", std::nullopt}}));
        Record(L"menu");
    }
    released = true;
    while (!read) ::Sleep(5);
    EXPECT_TRUE(history.Loading());
    Record(L"4");  // the next copy completes the load
    EXPECT_FALSE(history.Loading());
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"4", L"menu", L"3"}));
    EXPECT_EQ(NamesOnDisk().size(), 3u);

    // A file in the folder's place: the load's report of it throws, yet the queued copy is stored
    // once the folder can be made.
    ASSERT_TRUE(std::filesystem::remove_all(HistoryFolder()) > 0);
    test::WriteBytes(HistoryFolder(), "");
    history.SetLoadedHandler([&] { std::filesystem::remove(HistoryFolder()); });
    notifier.failuresLeft = 1;
    history.Load();
    Record(L"5");
    history.WaitForLoad();
    EXPECT_FALSE(history.Loading());
    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"5"});
}

// The history reports these messages when its folder cannot be listed.
TEST(ListFileNames, FilesOnlyAndFailuresInUtf8WithThePath) {
    test::TempFolder folder;
    test::WriteBytes(folder / L"ファイル.bin", "x");
    ASSERT_TRUE(CreateFolders(folder / L"フォルダ.bin"));
    EXPECT_EQ(ListFileNames(folder.Path()), std::vector<std::wstring>{L"ファイル.bin"});

    const std::wstring missing = folder / L"無い";
    try {
        ListFileNames(missing);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        const std::wstring message = Utf8ToWide(error.what());
        EXPECT_TRUE(message.starts_with(L"list: ")) << message;
        EXPECT_TRUE(message.ends_with(L": " + missing)) << message;
    }
}

TEST_F(ClipboardHistoryTest, AFileInThePlaceOfTheFolderIsReported) {
    test::WriteBytes(HistoryFolder(), "a file");

    history.Add(L"text");
    LoadAndWait();

    ASSERT_EQ(notifier.notifications.size(), 2u);
    for (const auto& notification : notifier.notifications) {
        EXPECT_EQ(notification.title, L"エラー");
        EXPECT_EQ(notification.body, L"クリップボード履歴の保存用フォルダの作成に失敗しました。");
        EXPECT_EQ(notification.kind, NotifyKind::Error);
    }
    EXPECT_TRUE(history.Entries().empty());
}

TEST_F(ClipboardHistoryTest, MenuSaysWhyItIsEmpty) {
    EXPECT_EQ(history.BuildMenu(kMenuItems), (MenuEntries{{L"―― 履歴無し ――", std::nullopt}}));
    Record(L"a");
    Set(L"UseClipboardHistory", 0);
    EXPECT_EQ(history.BuildMenu(kMenuItems), (MenuEntries{{L"―― 履歴機能無効設定中 ――", std::nullopt}}));
}

TEST_F(ClipboardHistoryTest, MenuListsNewestFirstWithAcceleratorsByIndex) {
    for (const wchar_t* text : {L"old & tab\there", L"middle", L"new\r\nline"}) Record(text);

    const MenuEntries expected{{L"new line\t(&1)", 0},
                               {L"middle\t(&2)", 1},
                               {L"old && tab    here\t(&3)", 2}};
    EXPECT_EQ(history.BuildMenu(kMenuItems), expected);

    Set(L"ClipboardHistoryReverseOrder", 1);
    EXPECT_EQ(history.BuildMenu(kMenuItems), (MenuEntries{expected[2], expected[1], expected[0]}))
        << "oldest on top, the newest keeps accelerator 1";
}

// The rule alone: thousands of sealed files would make this slow without testing more.
TEST(BuildHistoryMenu, ShowsAtMostTheNewestMaxItems) {
    std::vector<ClipboardHistoryEntry> entries;
    for (int i = 3000; i >= 0; --i) entries.push_back({std::to_wstring(i), 1, std::nullopt, L"unused"});

    const MenuEntries menu = BuildHistoryMenu(entries, true, false, kMenuItems);
    ASSERT_EQ(menu.size(), 3000u);
    EXPECT_EQ(menu.front(), (MenuEntry{L"3000\t(&1)", 0}));
    EXPECT_EQ(menu[36], (MenuEntry{L"2964", 36}));
    EXPECT_EQ(menu.back(), (MenuEntry{L"1", 2999}));

    const MenuEntries reversed = BuildHistoryMenu(entries, true, true, kMenuItems);
    ASSERT_EQ(reversed.size(), 3000u);
    EXPECT_EQ(reversed.front(), (MenuEntry{L"1", 2999}));
    EXPECT_EQ(reversed.back(), (MenuEntry{L"3000\t(&1)", 0}));
}

TEST_F(ClipboardHistoryTest, RestorePutsTheChosenTextOnTheClipboard) {
    Record(L"older");
    Record(L"newer");
    const HWND owner = reinterpret_cast<HWND>(0x1234);

    EXPECT_TRUE(history.Restore(owner, 1));

    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"older"});
    EXPECT_EQ(clipboard.writeOwners, std::vector<HWND>{owner});
    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_EQ(LogText(), L"");
}

TEST_F(ClipboardHistoryTest, RestoreOfAnIndexWithoutEntryIsReported) {
    Record(L"only");

    for (size_t index : {1u, 2u, 3000u}) EXPECT_FALSE(history.Restore(nullptr, index)) << index;

    EXPECT_TRUE(clipboard.written.empty());
    ASSERT_EQ(notifier.notifications.size(), 3u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード履歴取得失敗");
    EXPECT_EQ(notifier.notifications[0].body, L"選択されたクリップボード履歴の取得に失敗しました。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
}

TEST_F(ClipboardHistoryTest, AFailedClipboardWriteIsReportedAndLogged) {
    Record(L"履歴の文");
    clipboard.succeed = false;

    EXPECT_FALSE(history.Restore(nullptr, 0));

    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード更新失敗");
    EXPECT_EQ(notifier.notifications[0].body, L"クリップボードの更新に失敗しました。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_EQ(LogText(), L"[16:33:25.045][ClipboardHistory][クリップボード更新失敗]履歴テキスト: 履歴の文\r\n");
}

TEST_F(ClipboardHistoryTest, AnUnexpectedFailureIsReportedWithItsReasonAndLogged) {
    Record(L"text");
    clipboard.failure = "\xE7\x90\x86\xE7\x94\xB1";

    EXPECT_FALSE(history.Restore(nullptr, 0));

    const std::wstring body = L"次の理由で、クリップボード履歴の取得に失敗しました。\n\n理由：理由";
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"エラー");
    EXPECT_EQ(notifier.notifications[0].body, body);
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_EQ(LogText(), L"[16:33:25.045][ClipboardHistory][エラー]" + body + L"\r\n");
}

}  // namespace
}  // namespace veltrano
