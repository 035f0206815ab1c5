// Keyboard play: the keys stand for places, and two keys make a move as two
// clicks do.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "game_flow_fixture.h"
#include "freecell/keyboard_play.h"

namespace freecell {
namespace {

TEST(KeyboardPlay, KeysStandForTheColumnsCellsAndHomeAndClashWithNoCommandKey) {
    EXPECT_EQ(placeForKey('1'), (Location{Place::Column, 0}));
    EXPECT_EQ(placeForKey('8'), (Location{Place::Column, 7}));
    EXPECT_EQ(placeForKey(0x61 + 4), (Location{Place::Column, 4}));  // numeric keypad 5
    EXPECT_EQ(placeForKey('A'), (Location{Place::Cell, 0}));
    EXPECT_EQ(placeForKey('F'), (Location{Place::Cell, 3}));
    EXPECT_EQ(placeForKey('H')->place, Place::Home);
    // The function keys F1 to F10 (0x70 to 0x79), Alt, and the letters of
    // the menu route G and R stay the game's commands.
    for (const unsigned key :
         {0x70u, 0x71u, 0x72u, 0x73u, 0x79u, 0x12u, unsigned('G'), unsigned('R'), unsigned('9'), unsigned('0')}) {
        EXPECT_FALSE(placeForKey(key)) << key;
    }
}

class KeyboardPlayedGame : public testing::GameFlow {
protected:
    void press(unsigned key) { game.click(Hit{*placeForKey(key), -1}); }
};

TEST_F(KeyboardPlayedGame, TwoKeysMoveACardAsTwoClicksDo) {
    selectAndDeal("1");
    press('2');  // 9C, the bottom of column 2
    ASSERT_TRUE(game.selection());
    press('D');  // into the third free cell
    EXPECT_EQ(game.board().cells[2], testing::card("9C"));
    EXPECT_EQ(game.moves(), 1);

    press('D');  // from the cell onto 6H, the bottom of column 4: refused
    press('4');
    EXPECT_EQ(ui.refusals, 1);
    EXPECT_EQ(game.board().cells[2], testing::card("9C"));

    press('1');
    press('1');  // the same key again puts the cards back
    EXPECT_FALSE(game.selection());
    EXPECT_EQ(game.moves(), 1);
}

}  // namespace
}  // namespace freecell
