// The next deal's difficulty below the number box, read from the deals' table
// deals.tkd beside Tallykeep.exe: as it follows the box, without the table,
// and with a damaged one.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;

class TallykeepDifficulty : public TallykeepTest {
protected:
    std::string iniPath() const { return sandbox.path("Tallykeep.Ini"); }
    void type(const std::string& keys) {
        results().selectInNumberBox(0, -1);
        results().typeIntoNumberBox(keys);
    }
};

// In the shipped table: 164 needs no free cell, 11983 one, 11981 two, 1
// three, 169 four, and 11982 cannot be won.
TEST_F(TallykeepDifficulty, TheNextDealsDifficultyStandsBelowTheBoxAndFollowsItTypedEnteredAndSkipped) {
    ASSERT_TRUE(WritePrivateProfileStringA("Game", "GameNo", "11981", iniPath().c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Extra", "SkipImpossible", "1", iniPath().c_str()));
    SessionOptions options;
    options.withDealTable = true;
    start(options);
    EXPECT_TRUE(results().waitForDifficulty("フリーセル2枚")) << results().difficulty();

    type("164");
    EXPECT_TRUE(results().waitForDifficulty("フリーセル0枚")) << results().difficulty();
    type("11982");
    EXPECT_TRUE(results().waitForDifficulty("解けない")) << results().difficulty();
    type("169");
    EXPECT_TRUE(results().waitForDifficulty("フリーセル4枚")) << results().difficulty();
    results().typeIntoNumberBox("\b\b");
    EXPECT_TRUE(results().waitForNumberBox("1"));
    EXPECT_TRUE(results().waitForDifficulty("フリーセル3枚")) << "after the keys: " << results().difficulty();

    // 11981 entered and won: the box passes 11982 and shows 11983's level.
    ASSERT_TRUE(session->selectGame("11981", "11981")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "11983")) << log().text();
    EXPECT_EQ(results().numberBox(), "11,983");
    EXPECT_TRUE(results().waitForDifficulty("フリーセル1枚")) << results().difficulty();
}

// A Tallykeep.exe copied on its own: no word, no message, the known
// impossible deals still passed.
TEST_F(TallykeepDifficulty, WithoutTheTableNothingIsShownOrTold) {
    ASSERT_TRUE(WritePrivateProfileStringA("Extra", "SkipImpossible", "1", iniPath().c_str()));
    start();
    type("11982");
    // The word follows each key as it is handled: by the time the box shows
    // the number, a table would have named it.
    ASSERT_TRUE(results().waitForNumberBox("11,982"));
    EXPECT_EQ(results().difficulty(), "");
    EXPECT_EQ(findTopLevel(game::kDialogClass, "Tallykeep"), nullptr);
    // No empty row: the group 成績 stands where it stood before there was a
    // table, right below the number panel.
    HWND group = nullptr;
    for (const ChildWindow& child : children(results().window()))
        if (child.text == "成績") group = child.handle;
    ASSERT_NE(group, nullptr);
    const RECT place = windowRect(group);
    POINT topLeft{place.left, place.top};
    ScreenToClient(results().window(), &topLeft);
    EXPECT_EQ(topLeft.y, 38);
    ASSERT_TRUE(session->selectGame("11981", "11981")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "11983")) << log().text();
    EXPECT_EQ(results().difficulty(), "");
}

// A table cut short is refused whole: one box at the start, then Tallykeep
// runs as without it.
TEST_F(TallykeepDifficulty, ADamagedTableIsToldOnceAndTallykeepGoesOnWithoutIt) {
    const std::optional<std::string> shipped = readFileBytes(binDir() + "\\deals.tkd");
    ASSERT_TRUE(shipped);
    {
        const std::string cut = shipped->substr(0, shipped->size() - 1000);
        const HANDLE file = CreateFileA(sandbox.path("deals.tkd").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        const BOOL wrote = WriteFile(file, cut.data(), static_cast<DWORD>(cut.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(wrote && written == cut.size());
    }
    std::string told;
    ASSERT_NO_FATAL_FAILURE(startThroughErrorBox(told));
    EXPECT_NE(told.find("難易度の表"), std::string::npos) << told;
    EXPECT_NE(told.find("途中で切れて"), std::string::npos) << told;
    type("11982");
    ASSERT_TRUE(results().waitForNumberBox("11,982"));
    EXPECT_EQ(results().difficulty(), "");
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    EXPECT_EQ(findTopLevel(game::kDialogClass, "Tallykeep"), nullptr) << "told once";
}

}  // namespace
