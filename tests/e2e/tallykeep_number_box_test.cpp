// The number box of the running Tallykeep.exe, typed into from outside as the
// user types: the separators come and go with every key, and the watcher
// enters the plain number into the game.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;

using TallykeepNumberBox = TallykeepTest;

TEST_F(TallykeepNumberBox, ShowsTheStoredNumberGroupedRegroupsWhatIsTypedAndDealsThePlainNumber) {
    ASSERT_TRUE(WritePrivateProfileStringA("Game", "GameNo", "1234", sandbox.path("Tallykeep.Ini").c_str()));
    SessionOptions options;
    options.windowsVersion = "winxp";  // its game deals up to 1,000,000
    start(options);
    const ResultsWindow& box = results();
    EXPECT_EQ(box.numberBox(), "1,234");
    EXPECT_EQ(box.numberBoxStyle() & ES_RIGHT, ES_RIGHT);

    box.selectInNumberBox(5, 5);
    box.typeIntoNumberBox("5");
    ASSERT_TRUE(box.waitForNumberBox("12,345")) << box.numberBox();
    EXPECT_EQ(box.numberBoxSelection(), std::make_pair(6, 6));
    // Enter inserts nothing: the backspace after it takes the last digit.
    box.typeIntoNumberBox("\r\b");
    ASSERT_TRUE(box.waitForNumberBox("1,234")) << box.numberBox();
    box.typeIntoNumberBox("5");
    ASSERT_TRUE(box.waitForNumberBox("12,345")) << box.numberBox();
    std::size_t mark = log().size();
    postKey(session->game, game::kVkF3);
    EXPECT_TRUE(log().waitFor("deal", std::string("12345"), mark)) << log().text();

    box.selectInNumberBox(0, -1);
    box.typeIntoNumberBox("999999");
    ASSERT_TRUE(box.waitForNumberBox("999,999")) << box.numberBox();
    mark = log().size();
    postKey(session->game, game::kVkF3);
    EXPECT_TRUE(log().waitFor("deal", std::string("999999"), mark)) << log().text();

    box.selectInNumberBox(1, 1);
    box.typeIntoNumberBox("9");
    ASSERT_TRUE(box.waitForNumberBox("9,999,999")) << box.numberBox();
    EXPECT_EQ(box.numberBoxSelection(), std::make_pair(3, 3));
    // Full at nine characters: the 1 is refused, so the backspace takes a 9.
    box.selectInNumberBox(9, 9);
    box.typeIntoNumberBox("1\b");
    EXPECT_TRUE(box.waitForNumberBox("999,999")) << box.numberBox();
}

}  // namespace
