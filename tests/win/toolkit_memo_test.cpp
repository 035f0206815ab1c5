#include <gtest/gtest.h>

#include <vector>
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
    EXPECT_EQ(f.memo.lines(), std::vector<std::string>{""});
}

TEST(MemoLines, EmptyLinesCountAsLines) {
    MemoOnForm f;
    f.memo.setLines(std::vector<std::string>(14, ""));
    EXPECT_EQ(f.memo.lines().size(), 14u);
}

TEST(MemoLines, ALineWiderThanTheMemoWrapsOnScreenButStaysOneLine) {
    MemoOnForm f;
    const std::string wide(200, 'W');
    f.memo.setLines({wide, ""});
    EXPECT_GT(SendMessageA(f.memo.handle(), EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(f.memo.lines(), (std::vector<std::string>{wide, ""}));
}

TEST(MemoLines, IsReadOnlyWithWordWrap) {
    MemoOnForm f;
    const LONG style = GetWindowLongA(f.memo.handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);
}

}  // namespace
