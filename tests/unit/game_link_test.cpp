#include "gamelink/game_link.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_desktop.h"
#include "gamelink/game_contract.h"

namespace {

class NoLauncher : public ProcessLauncher {
public:
    bool isFile(const std::string&) override { return false; }
    std::string windowsDirectory() override { return "C:\\WINDOWS"; }
    std::string systemDirectory() override { return "C:\\WINDOWS\\SYSTEM32"; }
    bool launch(const std::string&) override { return false; }
};

class GameLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        game.start();
        ASSERT_FALSE(link.findOrStart());
    }
    // The keys and commands posted to the game's main window, in order.
    std::vector<uintptr_t> postedToGame() const {
        std::vector<uintptr_t> keys;
        for (const auto& call : desktop.callsOf(FakeDesktop::Call::Post))
            if (call.window == game.mainWindow) keys.push_back(call.wParam);
        return keys;
    }

    FakeDesktop desktop;
    FakeClipboard clipboard;
    NoLauncher launcher;
    GameLink link{desktop, launcher, OsVersion{2, 5, 1}};
    FakeGame game{desktop, clipboard, link.profile().texts};
};

TEST_F(GameLinkTest, StartPressedTwiceQuicklyEndsTheGameOnce) {
    EXPECT_TRUE(link.start());
    desktop.clockMs += 100;
    EXPECT_FALSE(link.start());
    EXPECT_EQ(postedToGame(), (std::vector<uintptr_t>{game::kVkF3, game::kVkF3}))
        << "one key-down and one key-up of F3";
}

TEST_F(GameLinkTest, PressWhileTheGameAsksIsDroppedAndALaterOneCarriedOut) {
    ASSERT_TRUE(link.restart());
    desktop.clockMs += GameLink::kCommandSettleMs;
    const WindowId box = game.showConfirmBox();
    EXPECT_FALSE(link.start()) << "the restart is still being carried out";
    EXPECT_FALSE(link.restart());
    desktop.destroyWindow(box);
    const WindowId dialog = game.showGameNumberDialog();
    EXPECT_FALSE(link.start());
    desktop.destroyWindow(dialog);
    desktop.clearLog();
    EXPECT_TRUE(link.start());
    EXPECT_EQ(postedToGame(), (std::vector<uintptr_t>{game::kVkF3, game::kVkF3}));
}

TEST_F(GameLinkTest, MinimisedGameIsRestoredBeforeItDeals) {
    desktop.minimizedWindows.insert(game.mainWindow);
    ASSERT_TRUE(link.start());
    const std::vector<uintptr_t> posted = postedToGame();
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted.front(), game::kScRestore);
    EXPECT_EQ(posted.back(), game::kVkF3);
}

// The won dialog asks the player: a press then, or one made then that waited
// behind the watcher's wait for the answer, is no answer to it.
TEST_F(GameLinkTest, PressMadeWhileTheGameOverDialogAsksIsDropped) {
    game.showWinDialog();
    EXPECT_FALSE(link.start());
    EXPECT_FALSE(link.restart());
    EXPECT_FALSE(link.takeBack());
    game.userAnswersWinAfterPauses = 3;
    TickOutcome outcome = link.tick(clipboard, TickInput{NumberToDeal{5, {}}, false});
    while (outcome.more) outcome = link.continueTick(clipboard);
    while (const WindowId dialog = desktop.findTopLevel(nullptr, link.profile().texts.TitleGameNumber))
        desktop.destroyWindow(dialog);
    desktop.clockMs += 20;
    desktop.clearLog();
    EXPECT_FALSE(link.start(100)) << "made while the dialog asked";
    EXPECT_TRUE(postedToGame().empty());
    EXPECT_TRUE(link.start(0)) << "made after it";
}

TEST_F(GameLinkTest, TakeBackIsNeverDropped) {
    link.takeBack();
    link.takeBack();
    EXPECT_EQ(postedToGame().size(), 4u);
}

}  // namespace
