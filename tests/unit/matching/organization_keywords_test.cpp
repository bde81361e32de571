#include "matching/organization_keywords.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "base/text_encoding.h"
#include "support/program_data.h"
#include "support/raw_files.h"

namespace veltrano {
namespace {

// The real folder, its reads counted, and each check's end awaited; a run is one worker.
class OrganizationKeywordsTest : public ::testing::Test, protected test::ProgramData {
protected:
    struct Seen {  // shared with the worker, which may outlive its object
        std::mutex mutex;
        std::condition_variable changed;
        int checks = 0;
        std::atomic<int> reads = 0;
    };

    OrganizationKeywordsTest() {
        settings.Ini().WriteBool(section::kLog, L"UseLog", true);
        ::CreateDirectoryW(share.c_str(), nullptr);
        UseFolder(share);
    }
    void UseFolder(const std::wstring& folder) { settings.Write(setting::kOrganizationKeywordFolder, folder); }

    // A run of the program: a new worker, after its first check.
    bool Start() {
        keywords = std::make_unique<OrganizationKeywords>(settings, paths, log);
        seen = std::make_shared<Seen>();
        OrganizationFolderAccess access = RealOrganizationFolderAccess();
        access.texts = [seen = seen, read = access.texts](const std::wstring& folder) {
            ++seen->reads;
            return read(folder);
        };
        access.checked = [seen = seen] {
            const std::lock_guard lock(seen->mutex);
            ++seen->checks;
            seen->changed.notify_all();
        };
        keywords->SetFolderAccess(std::move(access));
        keywords->Start();
        return WaitForCheck(1);
    }
    bool Check() {
        int next = 0;
        {
            const std::lock_guard lock(seen->mutex);
            next = seen->checks + 1;
        }
        keywords->CheckNow();
        return WaitForCheck(next);
    }
    bool WaitForCheck(int count) {
        std::unique_lock lock(seen->mutex);
        return seen->changed.wait_for(lock, std::chrono::seconds(60), [&] { return seen->checks >= count; });
    }
    int Reads() const { return seen->reads; }

    std::vector<std::wstring> Listed(KeywordKind kind) const {
        std::vector<std::wstring> texts;
        for (const KeywordEntry& entry : keywords->Current()->List(kind)) texts.push_back(entry.text);
        return texts;
    }
    size_t Logged(const std::wstring& text) const {
        const std::string logText = test::ReadBytes(log.LogFilePath()), wanted = WideToUtf8(text);
        size_t count = 0;
        for (size_t at = logText.find(wanted); at != std::string::npos; at = logText.find(wanted, at + 1)) ++count;
        return count;
    }
    static std::wstring Failed(const std::wstring& folder) {
        return L"[組織キーワードの読み込みに失敗]フォルダ: " + folder + L" / 理由: ";
    }

    const std::wstring share = folder / L"共有";
    std::shared_ptr<Seen> seen;
    std::unique_ptr<OrganizationKeywords> keywords;
};

TEST_F(OrganizationKeywordsTest, AGoneShareIsReadAgainOnItsReturnAndTheSealedCopyNeedsAFolder) {
    test::WriteBytes(share + L"\\wildcard_keywords.txt", WideToUtf8(L"*社外秘*\n"));
    ASSERT_TRUE(Start());
    const std::wstring read = L"[組織キーワードの読み込み]フォルダ: " + share + L" / ワイルドカード: 1 件 / 正規表現: 0 件";
    const auto moveShare = [&](bool away) {
        const std::wstring gone = share + L"_old";
        return ::MoveFileW((away ? share : gone).c_str(), (away ? gone : share).c_str()) != 0;
    };
    ASSERT_TRUE(moveShare(true));
    ASSERT_TRUE(Check());
    ASSERT_TRUE(Check());
    EXPECT_EQ(Logged(Failed(share)), 1u) << "once while it stays gone";
    ASSERT_TRUE(moveShare(false));
    ASSERT_TRUE(Check());
    EXPECT_EQ(Logged(read), 2u) << "its return is logged, its files read again though unchanged";

    ASSERT_TRUE(moveShare(true));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Listed(KeywordKind::Wildcard), std::vector<std::wstring>{L"*社外秘*"}) << "the sealed copy";
    UseFolder(L"");
    ASSERT_TRUE(Check());
    EXPECT_TRUE(Listed(KeywordKind::Wildcard).empty());
}

TEST_F(OrganizationKeywordsTest, AnUnusableFileWaitsForAChangeAndAnOversizedOneIsNeverRead) {
    const std::wstring wildcards = share + L"\\wildcard_keywords.txt", regexes = share + L"\\regex_keywords.txt";
    test::WriteBytes(regexes, "\x8b\x40\x96\xa7\\d+\n");  // Shift_JIS
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Check());
    EXPECT_EQ(Reads(), 1);
    EXPECT_EQ(Logged(Failed(share) + L"UTF-8 として読めない内容があります: " + regexes), 1u);

    test::WriteBytes(regexes, WideToUtf8(L"機密\\d+\n"));
    ASSERT_TRUE(Check());
    EXPECT_EQ(Listed(KeywordKind::Regex), std::vector<std::wstring>{L"機密\\d+"});

    test::WriteBytes(wildcards, std::string(16 * 1024 * 1024 + 1, '#'));
    ASSERT_TRUE(Check());
    ASSERT_TRUE(Check());
    EXPECT_EQ(Reads(), 2);
    EXPECT_EQ(Logged(Failed(share) + L"上限の 16 MiB を超えるため読みません: " + wildcards), 1u);
    EXPECT_EQ(Listed(KeywordKind::Regex), std::vector<std::wstring>{L"機密\\d+"}) << "the last good lists stay";
}

TEST_F(OrganizationKeywordsTest, ANewFolderThatFailsIsReportedThoughTheOldOneFailed) {
    UseFolder(share + L"\\無い1");
    ASSERT_TRUE(Start());
    UseFolder(share + L"\\無い2");
    ASSERT_TRUE(Check());
    ASSERT_TRUE(Check());
    EXPECT_EQ(Logged(Failed(share + L"\\無い1")), 1u);
    EXPECT_EQ(Logged(Failed(share + L"\\無い2")), 1u);
}

}  // namespace
}  // namespace veltrano
