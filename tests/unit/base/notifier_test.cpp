#include "base/notifier.h"

#include <gtest/gtest.h>

#include <system_error>

#include "support/recording_notifier.h"

namespace veltrano {
namespace {

// A Notify that fails the way a refused worker thread does.
class RefusingNotifier final : public Notifier {
public:
    void Notify(const std::wstring&, const std::wstring&, NotifyKind) override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
    int fallbackBoxes = 0;

protected:
    void ShowFallbackBox() noexcept override { ++fallbackBoxes; }
};

TEST(MakeCaption, AppendsProductNameToTitle) {
    EXPECT_EQ(MakeCaption(L"クリップボード検出"), L"クリップボード検出 - Veltrano");
}

TEST(MakeCaption, EmptyTitleGivesProductNameAlone) { EXPECT_EQ(MakeCaption(L""), L"Veltrano"); }

TEST(NotifyUtf8, ConvertsBothTextsAndNotifies) {
    test::RecordingNotifier notifier;
    notifier.NotifyUtf8("キーワード一覧を読めません: C:\\データ\\kw.txt", "エラー", NotifyKind::Error);

    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body, L"キーワード一覧を読めません: C:\\データ\\kw.txt");
    EXPECT_EQ(notifier.notifications[0].title, L"エラー");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_EQ(notifier.fallbackBoxes, 0);
}

TEST(NotifyUtf8, InvalidBodyShowsFallbackBoxInstead) {
    test::RecordingNotifier notifier;
    notifier.NotifyUtf8("abc\xFF", "設定変更", NotifyKind::Info);

    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_EQ(notifier.fallbackBoxes, 1);
}

TEST(NotifyUtf8, InvalidTitleShowsFallbackBoxInstead) {
    test::RecordingNotifier notifier;
    notifier.NotifyUtf8("本文", "\xE3\x81", NotifyKind::Warning);

    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_EQ(notifier.fallbackBoxes, 1);
}

TEST(NotifyUtf8, FailingNotifyShowsFallbackBoxAndDoesNotThrow) {
    RefusingNotifier notifier;
    EXPECT_NO_THROW(notifier.NotifyUtf8("本文", "エラー", NotifyKind::Error));
    EXPECT_EQ(notifier.fallbackBoxes, 1);
}

}  // namespace
}  // namespace veltrano
