// The self-test on this PC: beside a running guard, without being its second instance or touching
// the clipboard, it reports every check in order and exits with the number of failures.
#include <algorithm>
#include <sstream>

#include "base/text_encoding.h"
#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

struct ReportLine {
    std::string name;
    std::string outcome;
    std::string detail;
};

// What Wine can do must pass here; the Windows Runtime's voices cannot, and must say why.
const std::vector<std::pair<std::string, std::vector<std::string>>> kExpected = {
    {"データフォルダへの書き込み", {"成功"}}, {"設定ファイルの読み込み", {"成功"}},
    {"データ保護（暗号化と復号）", {"成功"}},   {"キー付きハッシュ", {"成功"}},
    {"クリップボードの連番", {"成功"}},          {"クリップボードの監視", {"成功"}},
    {"通知領域アイコン", {"成功"}},              {"タスクバー再作成の通知", {"成功"}},
    {"画面キャプチャからの除外", {"成功", "失敗", "対象外"}},
    {"Windows の音声一覧", {"失敗", "対象外"}},  {"Windows の音声合成", {"失敗", "対象外"}},
    {"メディアプレーヤー", {"失敗", "対象外"}},  {"VOICEVOX", {"対象外"}},
    {"ワイルドカードキーワード", {"成功"}},      {"正規表現キーワード", {"成功"}},
    {"キーワード検索（1 MiB）", {"失敗"}},       {"番号の検出", {"成功"}},
    {"認証情報の検出", {"成功"}},                {"ポリシー", {"対象外"}},
    {"組織キーワードフォルダ", {"失敗"}},        {"イベントソース", {"対象外"}},
};

class SelfTestCommand : public ProgramTest {};

TEST_F(SelfTestCommand, ReportsEveryCheckInOrderBesideTheRunningGuard) {
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[Keyword]\r\nOrganizationKeywordFolder=Q:\\veltrano\r\n");
    WriteDataText(L"_wildcard_keywords.txt", L"*secret*\n");
    // Only the backtracking matcher finds that the lookahead never holds, exploding over the whole text.
    WriteDataText(L"_regex_keywords.txt", L"ID-\\d{4}\n([\\s\\S]+)+(?=#)\\.\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::SetClipboardText(L"the user's own copy");

    const std::wstring report = DataPath(L" self test.txt");
    driver::StartedProgram selfTest = driver::StartProgram(ProgramPath(), L"/SelfTest \"" + report + L"\"", L"");
    const std::optional<DWORD> exitCode = driver::WaitForExit(selfTest.process.Get(), 60000);
    ASSERT_TRUE(exitCode.has_value()) << "the self-test did not end";

    const std::string bytes = driver::ReadFileBytes(report);
    ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF")) << "no report, or one without its byte order mark";
    std::istringstream lines(bytes.substr(3));
    std::string header;
    std::vector<ReportLine> checks;
    for (std::string line; std::getline(lines, line);) {
        ASSERT_TRUE(line.ends_with("\r")) << "a line without CRLF: " << line;
        line.pop_back();
        std::istringstream fields(line);
        ReportLine check;
        std::string milliseconds;
        if (std::getline(fields, check.name, '\t') && std::getline(fields, check.outcome, '\t') &&
            std::getline(fields, milliseconds, '\t') && std::getline(fields, check.detail)) {
            checks.push_back(check);
        } else {
            header += line + "\n";
        }
    }
    EXPECT_NE(header.find("Wine: "), std::string::npos) << header;
    EXPECT_NE(header.find(Utf8(L"ユーザー: " + UserName())), std::string::npos) << header;
    ASSERT_EQ(checks.size(), kExpected.size()) << header;
    size_t failed = 0;
    for (size_t i = 0; i < checks.size(); ++i) {
        const auto& [name, allowed] = kExpected[i];
        EXPECT_EQ(checks[i].name, name);
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), checks[i].outcome), allowed.end())
            << checks[i].name << ": " << checks[i].outcome << " " << checks[i].detail;
        if (checks[i].outcome == "失敗") {
            ++failed;
            EXPECT_FALSE(checks[i].detail.empty()) << checks[i].name << " failed without saying why";
        }
    }
    EXPECT_EQ(*exitCode, failed);
    // The report may be collected on a share: it names a keyword by its place, never by its text.
    EXPECT_NE(bytes.find(Utf8(L"時間内に終わらないキーワードがあります: 正規表現キーワード 2行目")), std::string::npos) << bytes;
    for (const char* text : {"secret", "ID-", "(?=#)", "own copy"}) EXPECT_EQ(bytes.find(text), std::string::npos) << text;
    EXPECT_EQ(driver::GetClipboardText(), std::optional<std::wstring>(L"the user's own copy"));

    // Still one guard, and it still guards.
    EXPECT_FALSE(driver::WaitForWindow({.className = driver::kDialogClass, .caption = kProductName, .visibleOnly = true}, 0))
        << "the self-test was taken for a second instance";
    driver::SetClipboardText(L"top secret");
    EXPECT_TRUE(Utf8(TakeMessageBox(L"クリップボード検出 - Veltrano")).starts_with(Utf8(L"一致部分: top secret")));
}

}  // namespace
}  // namespace veltrano::e2e
