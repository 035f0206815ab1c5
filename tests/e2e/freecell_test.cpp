// The game answers Tallykeep's lookups and messages the way the real
// game does: these tests play Tallykeep's part from outside, through the
// harness, and check the game's log, windows and registry values.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "freecell_screenshot.h"
#include "harness/harness.h"
#include "freecell/cards.h"
#include "freecell/game_outlook.h"
#include "freecell/position_analysis.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

class FreeCell : public ::testing::Test {
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
    const char* expectedStart;    // how the log's start line begins
    const ProfileTexts* texts;
};

void PrintTo(const TextCase& textCase, std::ostream* out) { *out << textCase.label; }

class FreeCellTextSet : public FreeCell, public ::testing::WithParamInterface<TextCase> {};

// One game's road as Tallykeep drives it: deal by number, a loss answered
// with yes (same game again), a resign through the confirm box, a win with
// the select box ticked, and the close of a game in progress.
TEST_P(FreeCellTextSet, PlaysTallykeepsRoad) {
    const TextCase& param = GetParam();
    const ProfileTexts& texts = *param.texts;
    std::optional<EmulatedWindowsVersion> version;
    if (param.emulatedVersion) version.emplace("FREECELL.EXE", param.emulatedVersion);
    Environment extra;
    if (param.textsVariable) extra.emplace_back("FREECELL_TEXTS", param.textsVariable);
    start(extra);
    const auto started = log().waitFor("start");
    ASSERT_TRUE(started);
    EXPECT_EQ(started->details.rfind(param.expectedStart, 0), 0u) << started->details;

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
    Texts, FreeCellTextSet,
    ::testing::Values(TextCase{"Default", "default", nullptr, "texts=default max=1000000", &kDefaultTexts},
                      TextCase{"Nt4", "nt4", nullptr, "texts=nt4 ", &kNt4Texts},
                      TextCase{"Win95", "win95", nullptr, "texts=win95 ", &kWin95Texts},
                      TextCase{"Win98", "win98", nullptr, "texts=win98 ", &kWin98MeTexts},
                      TextCase{"EmulatedNt40", nullptr, "nt40", "texts=nt4 max=32000 version=2.4.0", &kNt4Texts},
                      TextCase{"EmulatedWin98", nullptr, "win98", "texts=win98 max=32000 version=1.4.10",
                               &kWin98MeTexts}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.label); });

TEST_F(FreeCell, RefusedNumberOpensANewDialogWithZero) {
    start({{"FREECELL_TEXTS", "default"}});
    postKey(main, game::kVkF3);
    HWND first = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(first, nullptr);
    enterNumber(first, "0");
    HWND second = waitForTopLevelOtherThan(first, game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(second, nullptr) << log().text();
    EXPECT_EQ(windowText(findChild(second, game::kEditClass, nullptr)), "0");
    EXPECT_EQ(log().count("refused", "0"), 1);

    // Windows XP's game accepts up to 1,000,000.
    enterNumber(second, "1000001");
    HWND third = waitForTopLevelOtherThan(second, game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(third, nullptr) << log().text();
    enterNumber(third, "1000000");
    EXPECT_TRUE(log().waitFor("deal", "1000000")) << log().text();
}

TEST_F(FreeCell, EnterOnTheFirstButtonConfirmsWhereverTheFocusIs) {
    start();
    postKey(main, game::kVkF3);
    HWND dialog = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(dialog, nullptr);
    // Tab twice from the field: the focus, and with it the default, is on Cancel.
    HWND edit = findChild(dialog, game::kEditClass, nullptr);
    post(edit, WM_KEYDOWN, VK_TAB);
    post(edit, WM_KEYDOWN, VK_TAB);
    enterNumber(dialog, "9");
    EXPECT_TRUE(log().waitFor("deal", "9")) << log().text();
    EXPECT_EQ(log().count("cancel", "gamenumber"), 0);
}

TEST_F(FreeCell, HighestNumberFollowsTheEnvironment) {
    start({{"FREECELL_MAXGAME", "32000"}});
    postKey(main, game::kVkF3);
    HWND first = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(first, nullptr);
    enterNumber(first, "32001");
    HWND second = waitForTopLevelOtherThan(first, game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(second, nullptr) << log().text();
    enterNumber(second, "-2");
    EXPECT_TRUE(log().waitFor("deal", "-2")) << log().text();
}

// A log path with double-byte characters, 表 and ソ among them (second byte
// 0x5C), reaches the game whole.
TEST_F(FreeCell, LogGoesToAFolderWithJapaneseCharacters) {
    const Sandbox folder = Sandbox::existing(sandbox.path("記録表ソ"));
    ASSERT_TRUE(CreateDirectoryA(folder.dir().c_str(), nullptr));
    game.emplace(folder);
    ASSERT_NE(game->mainWindow, nullptr) << "no main window";
    EXPECT_TRUE(log().waitFor("start")) << "nothing logged to " << log().path();
}

TEST_F(FreeCell, CancelLeavesTheBoardAsItWas) {
    start();
    postKey(main, game::kVkF3);
    HWND dialog = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(dialog, nullptr);
    const auto buttons = children(dialog);
    HWND cancel = nullptr;
    for (const ChildWindow& child : buttons) {
        if (child.className == game::kButtonClass && child.id == IDCANCEL) cancel = child.handle;
    }
    ASSERT_NE(cancel, nullptr);
    clickButton(cancel);
    EXPECT_TRUE(waitUntilGone(dialog));
    ASSERT_TRUE(standinSync(main, log()));
    EXPECT_EQ(standinState(main), "game=0 moves=0 inprogress=0 select=1");
}

TEST_F(FreeCell, UndoTakesBackOneMoveAtATimeBackToTheDeal) {
    start();
    selectGame(kDefaultTexts, "5");
    const std::string dealt = freecell::boardText(freecell::dealBoard(5));
    standinMove(main);
    standinMove(main);
    postKey(main, game::kVkF10);
    ASSERT_TRUE(standinSync(main, log()));
    EXPECT_EQ(standinState(main), "game=5 moves=1 inprogress=1 select=1");
    postKey(main, game::kVkF10);
    postKey(main, game::kVkF10);  // nothing before the deal
    ASSERT_TRUE(standinSync(main, log()));
    EXPECT_EQ(standinState(main), "game=5 moves=0 inprogress=1 select=1");
    EXPECT_EQ(standinBoard(main), dealt);
    EXPECT_EQ(log().count("undo", "moves=1"), 1);
    EXPECT_EQ(log().count("undo", "moves=0"), 1);
    EXPECT_EQ(log().count("ignored", "undo nothing-to-undo"), 1);
}

TEST_F(FreeCell, MenuRouteRestartsTheSameGameOnce) {
    start();
    selectGame(kDefaultTexts, "5");
    standinMove(main);
    const std::size_t from = log().size();
    // Tallykeep's redo button: Alt, G, R through the menu bar.
    post(main, game::kWmSysCommand, game::kScKeyMenu);
    post(main, game::kWmSysKeyDown, game::kKeyG);
    post(main, game::kWmKeyUp, game::kVkMenu);
    post(main, game::kWmKeyDown, game::kKeyR);
    post(main, game::kWmKeyUp, game::kKeyR);
    HWND confirm = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleConfirm);
    ASSERT_NE(confirm, nullptr) << log().text();
    answerYes(findChild(confirm, nullptr, kDefaultTexts.CaptionYes));
    ASSERT_TRUE(log().waitFor("deal", "5", from)) << log().text();
    ASSERT_TRUE(standinSync(main, log()));
    EXPECT_EQ(log().count("restart", "5"), 1);
    EXPECT_EQ(log().count("confirm-open"), 1);
    EXPECT_EQ(standinState(main), "game=5 moves=0 inprogress=1 select=1");
}

TEST_F(FreeCell, CloseWithoutAGameEndsAtOnce) {
    start();
    post(main, game::kWmClose);
    EXPECT_EQ(game->process.waitForExit(), 0u);
    EXPECT_EQ(log().count("confirm-open"), 0);
}

TEST_F(FreeCell, NoKeepsTheGameAndNoAfterALossFreezesIt) {
    start();
    selectGame(kDefaultTexts, "5");
    post(main, game::kWmClose);
    HWND confirm = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleConfirm);
    ASSERT_NE(confirm, nullptr);
    clickButton(findChild(confirm, game::kButtonClass, freecell::kCaptionNo));
    EXPECT_TRUE(waitUntilGone(confirm));
    ASSERT_TRUE(standinSync(main, log()));
    EXPECT_EQ(standinState(main), "game=5 moves=0 inprogress=1 select=1");

    standinLose(main);
    HWND over = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
    ASSERT_NE(over, nullptr);
    clickButton(findChild(over, game::kButtonClass, freecell::kCaptionNo));
    ASSERT_TRUE(log().waitFor("frozen", "5")) << log().text();
    EXPECT_EQ(standinState(main), "game=5 moves=0 inprogress=0 select=1");
    post(main, game::kWmClose);
    EXPECT_EQ(game->process.waitForExit(), 0u);
    EXPECT_EQ(log().count("confirm-open"), 1);
}

TEST_F(FreeCell, MismatchTextsMatchNoJapaneseSet) {
    start({{"FREECELL_TEXTS", "mismatch"}});
    postKey(main, game::kVkF3);
    HWND dialog = waitForTopLevel(game::kDialogClass, freecell::kMismatchTitleGameNumber);
    ASSERT_NE(dialog, nullptr);
    for (const ProfileTexts* texts : {&kDefaultTexts, &kNt4Texts, &kWin95Texts, &kWin98MeTexts}) {
        EXPECT_EQ(findTopLevel(nullptr, texts->TitleGameNumber), nullptr);
    }
    enterNumber(dialog, "5");
    ASSERT_TRUE(log().waitFor("deal", "5"));
    standinLose(main);
    HWND over = waitForTopLevel(game::kDialogClass, freecell::kMismatchTitleGameOver);
    ASSERT_NE(over, nullptr);
    EXPECT_NE(findChild(over, nullptr, freecell::kMismatchCaptionSameGame), nullptr);
    for (const ProfileTexts* texts : {&kDefaultTexts, &kNt4Texts, &kWin95Texts, &kWin98MeTexts}) {
        EXPECT_EQ(findTopLevel(nullptr, texts->TitleGameOver), nullptr);
        EXPECT_EQ(findChild(over, nullptr, texts->CaptionSameGame), nullptr);
    }
}

TEST_F(FreeCell, StatisticsBuildOnStoredValuesAndSkipFixedGameLosses) {
    ASSERT_TRUE(writeStatistic("won", 41));
    ASSERT_TRUE(writeStatistic("wins", 3));
    ASSERT_TRUE(writeStatistic("streak", 3));
    ASSERT_TRUE(writeStatistic("stype", 1));
    start();
    selectGame(kDefaultTexts, "-1");
    standinLose(main);
    HWND over = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(readStatistic("lost"), std::nullopt);  // never written
    const std::size_t from = log().size();
    answerYes(findChild(over, nullptr, kDefaultTexts.CaptionYes));
    ASSERT_TRUE(log().waitFor("deal", "-1", from));

    standinWin(main);
    ASSERT_TRUE(log().waitFor("dialog-open", "won select=1")) << log().text();
    EXPECT_EQ(readStatistic("won"), 42);
    EXPECT_EQ(readStatistic("streak"), 4);
    EXPECT_EQ(readStatistic("wins"), 4);
    EXPECT_EQ(readStatistic("stype"), 1);
    EXPECT_EQ(readStatistic("lost"), 0);
    const auto raw = readStatisticsValue("won");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<unsigned long>(REG_BINARY));
    EXPECT_EQ(raw->bytes, (std::vector<uint8_t>{42, 0, 0, 0}));
}

TEST_F(FreeCell, HangingConfirmBoxAnswersOnlyAfterTheHang) {
    start();
    selectGame(kDefaultTexts, "5");
    standinHangNextConfirm(main, 1500ms);
    post(main, game::kWmClose);
    HWND confirm = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleConfirm);
    ASSERT_NE(confirm, nullptr);
    ASSERT_TRUE(log().waitFor("hang", "1500"));
    const auto posted = std::chrono::steady_clock::now();
    answerYes(findChild(confirm, nullptr, kDefaultTexts.CaptionYes));
    DWORD_PTR result = 0;
    EXPECT_EQ(SendMessageTimeoutA(confirm, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result), 0);
    EXPECT_EQ(game->process.waitForExit(), 0u);
    EXPECT_GE(std::chrono::steady_clock::now() - posted, 1000ms);
    EXPECT_EQ(log().count("hang-end"), 1);
}

TEST_F(FreeCell, MinimisesAndRestoresOnSystemCommands) {
    start();
    post(main, game::kWmSysCommand, game::kScMinimize);
    EXPECT_TRUE(waitUntil([&] { return isIconic(main); }));
    post(main, game::kWmSysCommand, game::kScRestore);
    EXPECT_TRUE(waitUntil([&] { return !isIconic(main); }));
}

TEST_F(FreeCell, MainWindowIsTheBoardAtTheClassicSize) {
    start();
    EXPECT_EQ(className(main), game::kMainWindowClass);
    EXPECT_EQ(windowText(main), kDefaultTexts.TitleConfirm);
    const RECT rect = windowRect(main);
    EXPECT_EQ(rect.right - rect.left, 632);
    EXPECT_EQ(rect.bottom - rect.top, 480);
    // The cards decide the game now: no button does it for the player.
    EXPECT_EQ(findChild(main, game::kButtonClass, nullptr), nullptr);

    selectGame(kDefaultTexts, "617");
    EXPECT_TRUE(waitForStandinBoard(main, freecell::boardText(freecell::dealBoard(617)))) << standinBoard(main);
}

// "private=<KB> peak=<KB>" from the test build's memory text; zeros when it
// reads otherwise.
std::pair<long, long> privateKilobytes(HWND main) {
    long now = 0, peak = 0;
    if (std::sscanf(windowText(GetDlgItem(main, freecell::kMemoryControlId)).c_str(), "private=%ld peak=%ld", &now,
                    &peak) != 2)
        return {0, 0};
    return {now, peak};
}

// The game reads its own private bytes, and the thorough search of a lost
// deal shows in them: megabytes above what the game took before it.
TEST_F(FreeCell, TheGameSeesTheMemoryItsSearchTakes) {
    start();
    ASSERT_TRUE(waitUntil([&] { return privateKilobytes(main).first > 0; })) << log().text();
    const auto [idle, idlePeak] = privateKilobytes(main);
    EXPECT_GE(idlePeak, idle);
    selectGame(kDefaultTexts, "11982");
    EXPECT_TRUE(waitUntil([&] { return privateKilobytes(main).second > idlePeak + 1024; }))
        << windowText(GetDlgItem(main, freecell::kMemoryControlId));
}

// Another program sizes the game as Tallykeep does: larger, the board grows
// with it; smaller than the smallest legible board, the window stops there.
TEST_F(FreeCell, WindowSizedFromOutsideScalesTheBoardAndStopsAtItsSmallest) {
    start();
    selectGame(kDefaultTexts, "1");
    SetWindowPos(main, nullptr, 0, 0, 948, 720, SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    ASSERT_TRUE(waitUntil([&] { return windowRect(main).right - windowRect(main).left == 948; }));
    EXPECT_GT(standinLayout(main).cardWidth(), freecell::kCardWidth);

    SetWindowPos(main, nullptr, 0, 0, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    ASSERT_TRUE(standinSync(main, log()));
    ASSERT_TRUE(waitUntil([&] { return windowRect(main).right - windowRect(main).left < 948; }));
    RECT client{};
    GetClientRect(main, &client);
    const freecell::Size smallest = freecell::smallestClientSize(96);
    EXPECT_GE(client.right, smallest.width);
    EXPECT_GE(client.bottom, smallest.height);
    // Still played where it is drawn, at the smaller size.
    const freecell::BoardLayout layout = standinLayout(main);
    clickBoard(main, layout.pointOn(freecell::dealBoard(1), {freecell::Place::Column, 1}));
    EXPECT_TRUE(log().waitFor("select", std::string("column1 row=6"))) << log().text();
}

// Game 1 as a person starts it, with the mouse only.
class FreeCellMousePlay : public FreeCell {
protected:
    void SetUp() override {
        FreeCell::SetUp();
        start();
        selectGame(kDefaultTexts, "1");
    }
    freecell::Point on(const freecell::Location& place, int row = -1) {
        return standinLayout(main).pointOn(freecell::dealBoard(1), place, row);
    }
    static constexpr freecell::Location column(int index) { return {freecell::Place::Column, index}; }
    static constexpr freecell::Location cell(int index) { return {freecell::Place::Cell, index}; }
};

TEST_F(FreeCellMousePlay, ClickThenClickMovesACard) {
    clickBoard(main, on(column(1)));
    ASSERT_TRUE(log().waitFor("select", std::string("column1 row=6"))) << log().text();
    clickBoard(main, on(cell(2)));
    ASSERT_TRUE(log().waitFor("play", std::string("column1>cell2 9C"))) << log().text();
    EXPECT_TRUE(log().waitFor("move", std::string("moves=1")));
    EXPECT_NE(standinBoard(main).find("cells=- - 9C -"), std::string::npos) << standinBoard(main);
}

TEST_F(FreeCellMousePlay, ACardDraggedToAFreeCellMovesThere) {
    ASSERT_TRUE(dragBoard(main, on(column(1)), on(cell(2)))) << log().text();
    ASSERT_TRUE(log().waitFor("play", std::string("column1>cell2 9C"))) << log().text();
    EXPECT_TRUE(log().waitFor("move", std::string("moves=1")));
    EXPECT_TRUE(waitUntil([&] { return standinBoard(main).find("cells=- - 9C -") != std::string::npos; }))
        << standinBoard(main);
}

TEST_F(FreeCellMousePlay, ACardDraggedWhereItMayNotGoGoesBack) {
    const std::string dealt = standinBoard(main);
    ASSERT_TRUE(dragBoard(main, on(column(0)), on(column(1)))) << log().text();  // 6S onto 9C
    ASSERT_TRUE(log().waitFor("illegal", std::string("column1"))) << log().text();
    ASSERT_TRUE(standinSync(main, log()));
    EXPECT_EQ(standinBoard(main), dealt);
    EXPECT_EQ(log().count("move"), 0);
    // Nothing stays picked up: the next click picks up afresh.
    clickBoard(main, on(column(1)));
    ASSERT_TRUE(log().waitFor("select", std::string("column1 row=6"))) << log().text();
}

// Wine sends the game a WM_CANCELMODE when it handles a focus change of the
// X server late; under load one came between the press and the moves of a
// drag that followed the game-number dialog, and the drag was lost. With the
// window still in front, the press goes on.
TEST_F(FreeCellMousePlay, ADragGoesOnThroughACancelModeWhileTheGameIsInFront) {
    ASSERT_TRUE(mouseAt(main, on(column(1)), MOUSEEVENTF_LEFTDOWN));
    ASSERT_TRUE(waitUntil([&] { return holdsMouse(main); })) << log().text();
    post(main, WM_CANCELMODE);
    ASSERT_TRUE(standinSync(main, log()));
    EXPECT_TRUE(holdsMouse(main));
    const freecell::Point from = on(column(1));
    const freecell::Point to = on(cell(2));
    ASSERT_TRUE(mouseAt(main, {(from.x + to.x) / 2, (from.y + to.y) / 2}));
    ASSERT_TRUE(mouseAt(main, to, MOUSEEVENTF_LEFTUP));
    EXPECT_TRUE(log().waitFor("play", std::string("column1>cell2 9C"))) << log().text();
    EXPECT_TRUE(waitUntil([&] { return !holdsMouse(main); }));
}

TEST_F(FreeCellMousePlay, SafeCardsGoHomeAndF10TakesThemBackWithTheMove) {
    // AH lies under three cards of column 7; 2H follows it home from column 3.
    doubleClickBoard(main, on(column(6)));
    ASSERT_TRUE(log().waitFor("move", std::string("moves=1")));
    doubleClickBoard(main, on(column(6), 4));
    ASSERT_TRUE(log().waitFor("move", std::string("moves=2")));
    const std::string beforeThird = standinBoard(main);
    doubleClickBoard(main, on(column(6), 3));
    ASSERT_TRUE(log().waitFor("play", std::string("column6>cell2 4D home:AH home:2H"))) << log().text();
    EXPECT_EQ(standinBoard(main).substr(0, 8), "left=50 ");
    postKey(main, game::kVkF10);
    EXPECT_TRUE(waitForStandinBoard(main, beforeThird)) << standinBoard(main);
    EXPECT_TRUE(log().waitFor("undo", std::string("moves=2")));
}

TEST_F(FreeCellMousePlay, ForbiddenMoveIsRefusedAndChangesNothing) {
    const std::string dealt = standinBoard(main);
    clickBoard(main, on(column(0)));  // 6S onto 9C
    clickBoard(main, on(column(1)));
    ASSERT_TRUE(log().waitFor("illegal", std::string("column1"))) << log().text();
    ASSERT_TRUE(standinSync(main, log()));
    EXPECT_EQ(standinBoard(main), dealt);
    EXPECT_EQ(log().count("move"), 0);
}

TEST_F(FreeCellMousePlay, NoMoveLeftOpensTheLostDialog) {
    // 6S, 9C, 2H and 6H in the free cells leave game 1 without a move.
    for (int index = 0; index < 4; ++index) {
        doubleClickBoard(main, on(column(index)));
        ASSERT_TRUE(log().waitFor("move", "moves=" + std::to_string(index + 1))) << log().text();
    }
    HWND over = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
    ASSERT_NE(over, nullptr) << log().text();
    EXPECT_NE(findChild(over, nullptr, kDefaultTexts.CaptionSameGame), nullptr);
    EXPECT_TRUE(log().waitFor("lost", std::string("1")));
    EXPECT_EQ(readStatistic("lost"), 1);
}

TEST_F(FreeCellMousePlay, GameOneIsPlayedToTheEndAndWon) {
    const MousePlay play = playToTheEnd(main, 1);
    ASSERT_TRUE(play.won) << play.failure << "\n" << log().text();
    HWND over = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
    ASSERT_NE(over, nullptr) << log().text();
    EXPECT_NE(findChild(over, nullptr, kDefaultTexts.CaptionSelectGame), nullptr);
    EXPECT_EQ(log().count("play"), play.moves);
    EXPECT_EQ(log().count("illegal"), 0);
    EXPECT_EQ(readStatistic("won"), 1);
    EXPECT_EQ(standinBoard(main).substr(0, 7), "left=0 ");
}

// Game 1 as a player who only drags: every move a press on its leading card,
// the real mouse moved along a path to its place with the button held, and a
// release there; no click and click, no double click, no hint. The way is
// the test solver's (tests/freecell/freecell_solver.h), worked out here.
TEST_F(FreeCellMousePlay, GameOneIsWonByDraggingAlone) {
    const MousePlay play = playToTheEnd(main, 1, {}, MouseMoves::Drags);
    ASSERT_TRUE(play.won) << play.failure << "\n" << log().text();
    HWND over = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
    ASSERT_NE(over, nullptr) << log().text();
    EXPECT_EQ(log().count("play"), play.moves);
    EXPECT_EQ(log().count("select"), play.moves) << "one press for each move";
    EXPECT_EQ(log().count("illegal"), 0);
    EXPECT_EQ(readStatistic("won"), 1);
    EXPECT_TRUE(saveScreenshot(main, over, "freecell-won-by-dragging"));
}

// The hint's frame, in the game's window: the pixel at the middle of the left
// edge of `rect` (client coordinates) turns the hint's gold.
bool framedOnScreen(HWND window, const freecell::Rect& rect) {
    POINT edge{rect.left, (rect.top + rect.bottom) / 2};
    if (!ClientToScreen(window, &edge)) return false;
    return waitUntil([&] {
        HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, edge.x, edge.y);
        ReleaseDC(nullptr, screen);
        return colour == RGB(255, 215, 0);
    });
}

// The hint's cards where they lie: the run from its leading card, or a free cell.
freecell::Rect hintSource(const freecell::BoardLayout& layout, const freecell::Board& board,
                          const freecell::Move& move) {
    if (move.from.place == freecell::Place::Cell) return layout.cell(move.from.index);
    const int cards = static_cast<int>(board.columns[move.from.index].size());
    freecell::Rect run = layout.card(board, move.from.index, cards - move.count);
    run.bottom = layout.card(board, move.from.index, cards - 1).bottom;
    return run;
}

// Game 1 played by a person who only follows the hints: F5, then the framed
// cards dragged with the real mouse onto the framed place, to the won game.
// The expected hint is worked out here as the game works it out, from the
// same search; the screen shows whether the game framed it.
TEST_F(FreeCellMousePlay, GameOneIsWonByFollowingTheHintsAlone) {
    using namespace freecell;
    Board board = dealBoard(1);
    playAutomaticMoves(board);
    GameOutlook outlook;
    outlook.dealt();
    const BoardLayout layout = standinLayout(main);
    int moves = 0;
    while (!isFinished(board) && moves < 200) {
        if (outlook.reached(board, moves)) outlook.analysed(board, analysePosition(board).value());
        const std::optional<Analysis> known = outlook.currentAnalysis();
        ASSERT_TRUE(known && !known->way.empty()) << "move " << moves;
        const Move hint = known->way.front();
        postKey(main, VK_F5);
        ASSERT_TRUE(framedOnScreen(main, hintSource(layout, board, hint))) << "move " << moves << " " << describe(hint);
        const int row = hint.from.place == Place::Column
                            ? static_cast<int>(board.columns[hint.from.index].size()) - hint.count
                            : -1;
        ASSERT_TRUE(dragBoard(main, layout.pointOn(board, hint.from, row), layout.pointOn(board, hint.to)))
            << "move " << moves << " " << describe(hint);
        applyMove(board, hint);
        playAutomaticMoves(board);
        ++moves;
        if (isFinished(board)) break;
        ASSERT_TRUE(waitForStandinBoard(main, boardText(board))) << "move " << moves << " " << describe(hint) << "\n"
                                                                 << standinBoard(main) << "\n"
                                                                 << log().text();
    }
    HWND over = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
    ASSERT_NE(over, nullptr) << log().text();
    EXPECT_EQ(log().count("play"), moves);
    EXPECT_EQ(readStatistic("won"), 1);
    EXPECT_TRUE(saveScreenshot(main, over, "freecell-won-by-hints"));
}

}  // namespace
