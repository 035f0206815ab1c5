// The stand-in game answers Tallykeep's lookups and messages the way the real
// game does: these tests play Tallykeep's part from outside, through the
// harness, and check the game's log, windows and registry values.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "harness/harness.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

class StandinGame : public ::testing::Test {
protected:
    void SetUp() override {
        killStrayPrograms();
        ASSERT_TRUE(deleteStatisticsKey());
    }
    void TearDown() override { killStrayPrograms(); }

    // Starts the game with these extra variables; fails the test when its
    // window does not appear.
    void start(const Environment& extra = {}) {
        game.emplace(sandbox, extra);
        ASSERT_NE(game->mainWindow, nullptr) << "no main window";
        main = game->mainWindow;
    }

    const StandinLog& log() const { return game->log; }

    // Tallykeep's answer to the game-number dialog: the number on the
    // clipboard, WM_PASTE to the first Edit, Enter to the first Button.
    void enterNumber(HWND dialog, const std::string& number) {
        ASSERT_TRUE(setClipboardText(number));
        HWND edit = findChild(dialog, game::kEditClass, nullptr);
        HWND button = findChild(dialog, game::kButtonClass, nullptr);
        ASSERT_NE(edit, nullptr);
        ASSERT_NE(button, nullptr);
        post(edit, game::kWmPaste);
        post(button, game::kWmKeyDown, game::kVkReturn);
    }

    // F3, then the number through the dialog; waits for the deal.
    void selectGame(const ProfileTexts& texts, const std::string& number) {
        const std::size_t from = log().size();
        postKey(main, game::kVkF3);
        HWND dialog = waitForTopLevel(game::kDialogClass, texts.TitleGameNumber);
        ASSERT_NE(dialog, nullptr) << log().text();
        enterNumber(dialog, number);
        ASSERT_TRUE(log().waitFor("deal", number, from)) << log().text();
    }

    void answerYes(HWND yesButton) { post(yesButton, game::kWmKeyDown, game::kKeyY); }

    Sandbox sandbox;
    std::optional<RunningStandin> game;
    HWND main = nullptr;
};

struct TextCase {
    const char* label;
    const char* textsVariable;    // FREECELL_TEXTS, or null
    const char* emulatedVersion;  // Wine's version for FREECELL.EXE, or null
    const char* expectedSet;
    const ProfileTexts* texts;
};

class StandinTextSet : public StandinGame, public ::testing::WithParamInterface<TextCase> {};

// One game's road as Tallykeep drives it: deal by number, a loss answered
// with yes (same game again), a resign through the confirm box, a win with
// the select box ticked, and the close of a game in progress.
TEST_P(StandinTextSet, PlaysTallykeepsRoad) {
    const TextCase& param = GetParam();
    const ProfileTexts& texts = *param.texts;
    std::optional<EmulatedWindowsVersion> version;
    if (param.emulatedVersion) version.emplace("FREECELL.EXE", param.emulatedVersion);
    Environment extra;
    if (param.textsVariable) extra.emplace_back("FREECELL_TEXTS", param.textsVariable);
    start(extra);
    const auto started = log().waitFor("start");
    ASSERT_TRUE(started);
    EXPECT_EQ(started->details.substr(0, started->details.find(' ')), std::string("texts=") + param.expectedSet);

    selectGame(texts, "5");
    EXPECT_EQ(standinState(main), "game=5 moves=0 inprogress=1 select=1");

    // Lost: the loss is in the registry while the dialog is open; yes with
    // the same-game box deals game 5 again.
    standinLose(main);
    HWND over = waitForTopLevel(game::kDialogClass, texts.TitleGameOver);
    ASSERT_NE(over, nullptr) << log().text();
    HWND sameBox = findChild(over, nullptr, texts.CaptionSameGame);
    HWND yes = findChild(over, nullptr, texts.CaptionYes);
    ASSERT_NE(sameBox, nullptr);
    ASSERT_NE(yes, nullptr);
    EXPECT_TRUE(isChecked(sameBox));
    EXPECT_EQ(readStatistic("lost"), 1);
    std::size_t from = log().size();
    answerYes(yes);
    EXPECT_TRUE(waitUntilGone(over));
    EXPECT_TRUE(log().waitFor("deal", "5", from)) << log().text();

    // F2 during the game: the confirm box; yes resigns and deals at random.
    // Game 5 was just recorded, so this loss is not counted again.
    from = log().size();
    postKey(main, VK_F2);
    HWND confirm = waitForTopLevel(game::kDialogClass, texts.TitleConfirm);
    ASSERT_NE(confirm, nullptr) << log().text();
    EXPECT_NE(findChild(confirm, nullptr, texts.TextConfirm), nullptr);
    HWND confirmYes = findChild(confirm, nullptr, texts.CaptionYes);
    ASSERT_NE(confirmYes, nullptr);
    answerYes(confirmYes);
    const auto randomDeal = log().waitFor("deal", std::nullopt, from);
    ASSERT_TRUE(randomDeal) << log().text();
    EXPECT_EQ(readStatistic("lost"), 1);

    // Won with the select flag cleared by F2: Tallykeep ticks the box, the
    // user answers yes, the game asks for the next number.
    standinWin(main);
    over = waitForTopLevel(game::kDialogClass, texts.TitleGameOver);
    ASSERT_NE(over, nullptr) << log().text();
    HWND selectBox = findChild(over, nullptr, texts.CaptionSelectGame);
    ASSERT_NE(selectBox, nullptr);
    EXPECT_EQ(findChild(over, nullptr, texts.CaptionSameGame), nullptr);
    EXPECT_EQ(readStatistic("won"), 1);
    EXPECT_FALSE(isChecked(selectBox));
    post(selectBox, game::kBmSetCheck, game::kBstChecked);
    ASSERT_TRUE(waitUntil([&] { return isChecked(selectBox); }));
    clickButton(findChild(over, nullptr, texts.CaptionYes));
    HWND numberDialog = waitForTopLevel(game::kDialogClass, texts.TitleGameNumber);
    ASSERT_NE(numberDialog, nullptr) << log().text();
    from = log().size();
    enterNumber(numberDialog, "7");
    ASSERT_TRUE(log().waitFor("deal", "7", from)) << log().text();

    // WM_CLOSE during the game: the confirm box, Y, the game ends.
    post(main, game::kWmClose);
    confirm = waitForTopLevel(game::kDialogClass, texts.TitleConfirm);
    ASSERT_NE(confirm, nullptr) << log().text();
    EXPECT_NE(findChild(confirm, "Static", texts.TextConfirm), nullptr);
    answerYes(findChild(confirm, game::kButtonClass, texts.CaptionYes));
    EXPECT_EQ(game->process.waitForExit(), 0u) << log().text();
    EXPECT_EQ(readStatistic("lost"), 2);
    EXPECT_EQ(log().count("exit"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StandinTextSet,
    ::testing::Values(TextCase{"Default", "default", nullptr, "default", &kDefaultTexts},
                      TextCase{"Nt4", "nt4", nullptr, "nt4", &kNt4Texts},
                      TextCase{"Win95", "win95", nullptr, "win95", &kWin95Texts},
                      TextCase{"Win98", "win98", nullptr, "win98", &kWin98MeTexts},
                      TextCase{"EmulatedNt40", nullptr, "nt40", "nt4", &kNt4Texts},
                      TextCase{"EmulatedWin95", nullptr, "win95", "win95", &kWin95Texts}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.label); });

}  // namespace
