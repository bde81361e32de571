#include "log/log_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text_encoding.h"
#include "storage/text_files.h"
#include "support/plain_regex.h"
#include "support/program_data.h"
#include "support/raw_files.h"

namespace veltrano {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

TEST(FormatLogLine, BracketsTimeCategoryAndTitle) {
    const SYSTEMTIME time{2026, 12, 0, 6, 9, 5, 3, 7};
    EXPECT_EQ(FormatLogLine(LogCategory::ManualReplace, time, L"クリップボード手動置換実行", L"a / b"),
              L"[09:05:03.007][ManualReplace][クリップボード手動置換実行]a / b\r\n");
    EXPECT_EQ(FormatLogLine(LogCategory::Other, time, L"", L""), L"[09:05:03.007][Other][]\r\n");
    EXPECT_EQ(FormatLogLine(LogCategory::KeywordSearch, time, L"t", L"one\ntwo"),
              L"[09:05:03.007][KeywordSearch][t]one\ntwo\r\n");
    EXPECT_EQ(FormatLogLine(static_cast<LogCategory>(6), time, L"t", L"m"), L"");
}

class LogWriterTest : public ::testing::Test, protected test::ProgramData {
protected:
    void Switch(const wchar_t* key, bool on) { ASSERT_TRUE(settings.Ini().WriteBool(section::kLog, key, on)); }
    std::wstring FileOfDay(const wchar_t* name) const { return folder / (std::wstring(L"taro_log\\") + name); }

};

TEST_F(LogWriterTest, NothingIsWrittenWhileLoggingIsOff) {
    log.WriteLog(LogCategory::Other, L"t", L"m");
    log.EnsureLogFile();
    EXPECT_FALSE(std::filesystem::exists(folder / L"taro_log"));
    EXPECT_FALSE(log.IsLogEnabled(LogCategory::KeywordSearch));
}

TEST_F(LogWriterTest, FirstLineStartsTheDayFileWithOneBom) {
    Switch(L"UseLog", true);
    EXPECT_EQ(log.LogFolderPath(), folder / L"taro_log");
    EXPECT_EQ(log.LogFilePath(), FileOfDay(L"2026_12_06.txt"));

    log.WriteLog(LogCategory::KeywordSearch, L"クリップボード検出", L"キーワード: 機密");
    clock.Set(2026, 12, 6, 17, 30, 0, 450);
    log.WriteLog(LogCategory::ClipboardHistory, L"履歴", L"");
    EXPECT_EQ(test::ReadBytes(FileOfDay(L"2026_12_06.txt")),
              kBom + WideToUtf8(L"[09:05:03.007][KeywordSearch][クリップボード検出]キーワード: 機密\r\n"
                                L"[17:30:00.450][ClipboardHistory][履歴]\r\n"));
}

TEST_F(LogWriterTest, EachCategoryHasItsOwnSwitchReadAtEveryCall) {
    Switch(L"UseLog", true);
    Switch(L"LogAutoReplace", false);
    log.WriteLog(LogCategory::AutoReplace, L"auto", L"dropped");
    log.WriteLog(LogCategory::ManualReplace, L"manual", L"kept");
    log.WriteLog(static_cast<LogCategory>(9), L"bad", L"never");
    Switch(L"LogAutoReplace", true);
    log.WriteLog(LogCategory::AutoReplace, L"auto", L"kept too");

    EXPECT_EQ(test::ReadBytes(log.LogFilePath()),
              std::string(kBom) + "[09:05:03.007][ManualReplace][manual]kept\r\n"
                                  "[09:05:03.007][AutoReplace][auto]kept too\r\n");
    EXPECT_FALSE(log.IsLogEnabled(static_cast<LogCategory>(-1)));
}

TEST_F(LogWriterTest, EveryDayGetsItsOwnFileByTheClock) {
    Switch(L"UseLog", true);
    clock.Set(2026, 12, 31, 23, 59, 59, 999);
    log.WriteLog(LogCategory::Other, L"old", L"year");
    clock.Set(2027, 1, 1, 0, 0, 0, 0);
    log.WriteLog(LogCategory::Other, L"new", L"year");

    EXPECT_EQ(test::ReadBytes(FileOfDay(L"2026_12_31.txt")), std::string(kBom) + "[23:59:59.999][Other][old]year\r\n");
    EXPECT_EQ(test::ReadBytes(FileOfDay(L"2027_01_01.txt")), std::string(kBom) + "[00:00:00.000][Other][new]year\r\n");
}

TEST_F(LogWriterTest, ExistingFileIsAppendedToNotRestarted) {
    Switch(L"UseLog", true);
    std::filesystem::create_directories(folder / L"taro_log");
    test::WriteBytes(log.LogFilePath(), "earlier\r\n");
    log.EnsureLogFile();
    log.WriteLog(LogCategory::Other, L"t", L"m");
    EXPECT_EQ(test::ReadBytes(log.LogFilePath()), "earlier\r\n[09:05:03.007][Other][t]m\r\n");
}

TEST_F(LogWriterTest, UnusableFolderIsASilentNoOp) {
    Switch(L"UseLog", true);
    test::WriteBytes(folder / L"taro_log", "a file where the folder should be");
    EXPECT_NO_THROW(log.WriteLog(LogCategory::Other, L"t", L"m"));

    const DataPaths noUser{folder.Path(), L""};
    LogWriter withoutUser{settings, noUser, clock};
    EXPECT_EQ(withoutUser.LogFolderPath(), L"");
    EXPECT_EQ(withoutUser.LogFilePath(), L"");
    EXPECT_NO_THROW(withoutUser.WriteLog(LogCategory::Other, L"t", L"m"));
}

// With LogMaskSecrets a quoted text is its length and a tag keyed per user: equal texts give equal
// tags, a key that is lost gives other ones, and the key file holds no plain key.
TEST_F(LogWriterTest, MaskedTextsAreTheirLengthAndAKeyedTag) {
    const std::wstring text = L"秘密 \xD83D\xDE00 key";
    EXPECT_EQ(log.Quote(text), text) << "off by default";
    Switch(L"LogMaskSecrets", true);
    EXPECT_EQ(log.Quote(text), L"<8文字>") << "with logging off no key is made";
    EXPECT_FALSE(std::filesystem::exists(folder / L"taro_logkey.bin"));

    Switch(L"UseLog", true);
    const std::wstring tag = log.Quote(text);
    ASSERT_EQ(tag.size(), std::wstring(L"<8文字 #>").size() + 16) << test::Printable(tag);
    EXPECT_TRUE(tag.starts_with(L"<8文字 #") && tag.ends_with(L">"));
    EXPECT_EQ(log.Quote(text), tag);
    EXPECT_NE(log.Quote(text + L"!"), tag);
    const std::wstring keyFile = folder / L"taro_logkey.bin";
    EXPECT_EQ(Utf8ToWide(ReadEncryptedFile(keyFile)).size(), 64u);

    LogWriter sameKey(settings, paths, clock);
    EXPECT_EQ(sameKey.Quote(text), tag);
    test::WriteBytes(keyFile, "damaged");
    LogWriter newKey(settings, paths, clock);
    EXPECT_NE(newKey.Quote(text), tag);
    EXPECT_NE(test::ReadBytes(log.LogFilePath()).find(WideToUtf8(L"[Other][ログ用の鍵]")), std::string::npos);
}

}  // namespace
}  // namespace veltrano
