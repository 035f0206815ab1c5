#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "toolkit/memo.h"
#include "toolkit_test_support.h"

using toolkit_test::TestForm;

namespace {

struct MemoOnForm {
    Memo memo;
    TestForm form;
    MemoOnForm() : form([this] { memo.create(form, {{5, 15, 128, 146}, {""}}); }) {}
};

TEST(MemoLines, StartWithOneEmptyLineWhoseTextIsOneLineBreak) {
    MemoOnForm f;
    EXPECT_EQ(f.memo.text(), "\r\n");
    EXPECT_EQ(f.memo.lineCount(), 1);
    EXPECT_EQ(f.memo.line(0), "");
}

TEST(MemoLines, TenInsertsBeforeTheEmptyLineGiveElevenLinesTheLastEmpty) {
    MemoOnForm f;
    for (int i = 0; i < 10; ++i) f.memo.insertLine(i, "line " + std::to_string(i));
    EXPECT_EQ(f.memo.lineCount(), 11);
    EXPECT_EQ(f.memo.line(0), "line 0");
    EXPECT_EQ(f.memo.line(9), "line 9");
    EXPECT_EQ(f.memo.line(10), "");
}

TEST(MemoLines, EmptyInsertsCountAsLines) {
    MemoOnForm f;
    for (int i = 0; i < 13; ++i) f.memo.insertLine(i, "");
    EXPECT_EQ(f.memo.lineCount(), 14);
}

TEST(MemoLines, InsertAtTheTopPushesEarlierLinesDown) {
    MemoOnForm f;
    f.memo.insertLine(0, "older");
    f.memo.insertLine(0, "newer");
    EXPECT_EQ(f.memo.line(0), "newer");
    EXPECT_EQ(f.memo.line(1), "older");
}

TEST(MemoLines, ALineWiderThanTheMemoWrapsOnScreenButStaysOneLine) {
    MemoOnForm f;
    const std::string wide = "第1234567局 勝ち 2回目 ﾊﾟｽから再挑戦 とても長い履歴の行はメモの幅を超えて折り返す";
    f.memo.insertLine(0, wide);
    const LRESULT shownLines = SendMessageA(f.memo.handle(), EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(shownLines, 2);  // the edit control wraps it
    EXPECT_EQ(f.memo.lineCount(), 2);
    EXPECT_EQ(f.memo.line(0), wide);
}

TEST(MemoLines, InsertBeyondTheEndIsRefused) {
    MemoOnForm f;
    EXPECT_THROW(f.memo.insertLine(3, "x"), std::out_of_range);
    EXPECT_EQ(f.memo.lineCount(), 1);
}

TEST(MemoLines, IsReadOnlyWithWordWrap) {
    MemoOnForm f;
    const LONG style = GetWindowLongA(f.memo.handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);
}

}  // namespace
