#include "storage/text_files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "base/text_encoding.h"
#include "storage/atomic_file.h"
#include "support/raw_files.h"
#include "support/temp_folder.h"

namespace veltrano {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

template <typename F>
std::string ErrorOf(F&& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(no error)";
}

size_t EntriesIn(const std::wstring& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

TEST(PlainTextFile, WritesBomAndReadsItBackWithout) {
    TempFolder folder;
    const std::wstring path = folder / L"キーワード.txt";
    WriteUtf8TextFile(path, "\xE6\xA9\x9F\xE5\xAF\x86\nline2\r\n");
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF\xE6\xA9\x9F\xE5\xAF\x86\nline2\r\n");
    EXPECT_EQ(ReadUtf8TextFile(path), "\xE6\xA9\x9F\xE5\xAF\x86\nline2\r\n");

    WriteUtf8TextFile(path, "");
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF");
    EXPECT_EQ(ReadUtf8TextFile(path), "");
}

TEST(PlainTextFile, BomIsOptionalOnReading) {
    TempFolder folder;
    const std::wstring path = folder / L"a.txt";
    const std::pair<std::string, std::string> cases[] = {
        {"\xEF\xBB\xBF", ""}, {"\xEF\xBB", "\xEF\xBB"}, {"plain", "plain"}, {"", ""}, {"\xEF\xBB\xBF\xEF\xBB\xBFx", "\xEF\xBB\xBFx"}};
    for (const auto& [stored, expected] : cases) {
        WriteBytes(path, stored);
        EXPECT_EQ(ReadUtf8TextFile(path), expected);
    }
}

TEST(PlainTextFile, InvalidUtf8IsReturnedAsIsAndRejectedOnConversion) {
    TempFolder folder;
    const std::wstring path = folder / L"a.txt";
    WriteBytes(path, "\xC3\x28");
    const std::string bytes = ReadUtf8TextFile(path);
    EXPECT_EQ(bytes, "\xC3\x28");
    EXPECT_EQ(ErrorOf([&] { Utf8ToWide(bytes); }), "Utf8ToWide: invalid UTF-8 sequence");
}

TEST(FileErrors, NameThePathInUtf8) {
    TempFolder folder;
    const std::wstring missing = folder / L"存在しない.txt";
    const std::string utf8Path = WideToUtf8(missing);
    EXPECT_EQ(ErrorOf([&] { ReadUtf8TextFile(missing); }), "Failed to open file for reading: " + utf8Path);
    EXPECT_EQ(ErrorOf([&] { ReadEncryptedFile(missing); }), "Failed to open file for reading: " + utf8Path);

    const std::wstring inMissingFolder = folder / L"無い\\a.txt";
    EXPECT_EQ(ErrorOf([&] { WriteUtf8TextFile(inMissingFolder, "x"); }),
              "Failed to open file for writing: " + WideToUtf8(inMissingFolder));
    EXPECT_EQ(ErrorOf([&] { WriteEncryptedFile(inMissingFolder, "x"); }),
              "Failed to open file for writing: " + WideToUtf8(inMissingFolder));
}

TEST(EncryptedFile, RoundTripsThroughDpapiWithoutRevealingTheText) {
    TempFolder folder;
    const std::wstring path = folder / L"履歴.bin";
    const std::string secret = "password=\xE7\xA7\x98\xE5\xAF\x86";
    WriteEncryptedFile(path, secret);
    const std::string sealed = ReadBytes(path);
    EXPECT_FALSE(sealed.empty());
    EXPECT_EQ(sealed.find("password"), std::string::npos);
    EXPECT_FALSE(sealed.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(ReadEncryptedFile(path), secret);

    // Empty content still makes a blob: its plaintext is just the byte order mark.
    WriteEncryptedFile(path, "");
    EXPECT_FALSE(ReadBytes(path).empty());
    EXPECT_EQ(ReadEncryptedFile(path), "");
}

TEST(EncryptedFile, EmptyAndDamagedFilesFail) {
    TempFolder folder;
    const std::wstring path = folder / L"壊れた.bin";
    WriteBytes(path, "");
    EXPECT_EQ(ErrorOf([&] { ReadEncryptedFile(path); }), "Encrypted file is empty: " + WideToUtf8(path));

    WriteEncryptedFile(path, "secret");
    std::string sealed = ReadBytes(path);
    std::string damaged = sealed;
    damaged[damaged.size() - 8] ^= 0x5A;  // inside the sealed data and its signature
    WriteBytes(path, damaged);
    EXPECT_EQ(ErrorOf([&] { ReadEncryptedFile(path); }), "CryptUnprotectData failed");

    WriteBytes(path, sealed.substr(0, sealed.size() - 10));
    EXPECT_EQ(ErrorOf([&] { ReadEncryptedFile(path); }), "CryptUnprotectData failed");

    WriteBytes(path, "not a blob at all");
    EXPECT_EQ(ErrorOf([&] { ReadEncryptedFile(path); }), "CryptUnprotectData failed");
}

TEST(AtomicReplace, OverwritesWholeAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const std::wstring path = folder / L"a.txt";
    WriteUtf8TextFile(path, std::string(100000, 'x'));
    WriteUtf8TextFile(path, "short");
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFshort");
    WriteEncryptedFile(path, "sealed");
    EXPECT_EQ(ReadEncryptedFile(path), "sealed");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicReplace, LeftoverTemporaryFileOfACrashedProcessIsPassedOver) {
    TempFolder folder;
    const std::wstring path = folder / L"履歴.txt";
    // A crashed process with this process's id left its first temporary name behind.
    const std::wstring leftover = TemporaryPathBeside(path, 0);
    WriteBytes(leftover, "left by a crash");
    EXPECT_LT(leftover.size(), path.size() + 8) << "a deep program folder must not push it past the path limit";

    WriteUtf8TextFile(path, "new");
    EXPECT_EQ(ReadUtf8TextFile(path), "new");
    EXPECT_EQ(ReadBytes(leftover), "left by a crash");
    EXPECT_EQ(EntriesIn(folder.Path()), 2u);
}

TEST(AtomicReplace, DirectoryInTheWayFailsAndKeepsEverything) {
    TempFolder folder;
    const std::wstring path = folder / L"フォルダ";
    std::filesystem::create_directory(path);
    WriteBytes(path + L"\\inside.txt", "kept");

    EXPECT_EQ(ErrorOf([&] { WriteUtf8TextFile(path, "new"); }), "Failed to open file for writing: " + WideToUtf8(path));
    EXPECT_EQ(ErrorOf([&] { WriteEncryptedFile(path, "new"); }), "Failed to open file for writing: " + WideToUtf8(path));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(ReadBytes(path + L"\\inside.txt"), "kept");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicReplace, TargetHeldOpenByAnotherProgramKeepsOldContent) {
    TempFolder folder;
    const std::wstring path = folder / L"使用中.txt";
    WriteUtf8TextFile(path, "old");
    // An editor holding the file without delete sharing: the new content is written, but cannot replace it.
    HANDLE editor = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(editor, INVALID_HANDLE_VALUE);

    EXPECT_EQ(ErrorOf([&] { WriteUtf8TextFile(path, "new content"); }),
              "Failed to open file for writing: " + WideToUtf8(path));
    EXPECT_EQ(ErrorOf([&] { WriteEncryptedFile(path, "new content"); }),
              "Failed to open file for writing: " + WideToUtf8(path));
    ::CloseHandle(editor);
    EXPECT_EQ(ReadUtf8TextFile(path), "old");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

}  // namespace
}  // namespace veltrano
