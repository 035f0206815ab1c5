// The pass list of the running Tallykeep.exe, chosen from its menu. Another
// process's menu cannot be read under Wine: what the list holds shows in the
// number box when an entry is taken back, in what the game is dealt, and in
// the settings file after shutdown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

class TallykeepPassList : public TallykeepTest {
protected:
    void type(const std::string& number) {
        results().selectInNumberBox(0, -1);
        results().typeIntoNumberBox(number);
    }
    // Passes what the box shows; true when the box moved on to `next`.
    bool pass(const std::string& next) {
        results().menuCommand(kCmdPass);
        return results().waitForNumberBox(next);
    }
    bool takeBack(int slot, const std::string& shown) {
        results().menuCommand(kCmdRetry0 + static_cast<UINT>(slot));
        return results().waitForNumberBox(shown);
    }
    std::vector<std::string> savedList() {
        const HWND game = session->game;
        EXPECT_TRUE(session->closeAndWait()) << log().text();
        EXPECT_TRUE(waitUntilGone(game, 10s));
        std::vector<std::string> slots;
        for (int slot = 0; slot < 10; ++slot)
            slots.push_back(iniValue(session->iniPath(), "Rtry", ("Retry" + std::to_string(slot)).c_str(), "<missing>"));
        return slots;
    }
    // Waits for a message box and answers it; its text, or "<no box>".
    std::string answerBox(const char* title) {
        const HWND box = waitForTopLevel("#32770", title);
        if (!box) return "<no box>";
        const std::string text = windowText(GetDlgItem(box, 0xFFFF));
        clickButton(GetDlgItem(box, IDOK));
        waitUntilGone(box);
        return text;
    }
};

TEST_F(TallykeepPassList, PassedNumbersComeBackInNumericOrderAreDealtAndSurviveARestart) {
    start();
    type("1234");
    ASSERT_TRUE(pass("1,235")) << results().numberBox();
    ASSERT_TRUE(takeBack(0, "1,234")) << results().numberBox();
    for (const char* number : {"300", "200", "100", "500"}) {
        type(number);
        ASSERT_TRUE(pass(std::to_string(std::stoi(number) + 1))) << number << ": " << results().numberBox();
    }
    type("200");
    ASSERT_TRUE(pass("201")) << "a duplicate moves the box on too";
    ASSERT_TRUE(takeBack(1, "300")) << "500, 300, 200, 100 expected: " << results().numberBox();
    const std::size_t mark = log().size();
    postKey(session->game, game::kVkF3);
    EXPECT_TRUE(log().waitFor("deal", std::string("300"), mark)) << log().text();
    type("999");
    ASSERT_TRUE(pass("1,000"));
    ASSERT_TRUE(pass("1,001"));
    EXPECT_EQ(savedList(), (std::vector<std::string>{"1000", "999", "500", "200", "100", "", "", "", "", ""}));

    session->restart();
    ASSERT_TRUE(session->results.found());
    EXPECT_TRUE(takeBack(2, "500")) << results().numberBox();
}

// A non-number typed into the box stays out of the list; one written into the
// file by hand sorts below the numbers and stays until taken back.
TEST_F(TallykeepPassList, NonNumbersNeverBreakItAndTheEleventhPassIsRefused) {
    const std::string ini = sandbox.path("Tallykeep.Ini");
    ASSERT_TRUE(WritePrivateProfileStringA("Rtry", "Retry0", "1.5", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Rtry", "Retry2", "7", ini.c_str()));
    start();
    type("12a");
    ASSERT_TRUE(results().waitForNumberBox("12A"));
    results().menuCommand(kCmdPass);
    EXPECT_EQ(answerBox("Tallykeep"), "'12A' is not a valid integer value");
    EXPECT_EQ(results().numberBox(), "12A");

    type("20");
    for (int next = 21; next <= 28; ++next) ASSERT_TRUE(pass(std::to_string(next))) << results().numberBox();
    results().menuCommand(kCmdPass);
    EXPECT_EQ(answerBox("エラー"), "パスは10回までです");
    EXPECT_EQ(results().numberBox(), "28");
    EXPECT_EQ(savedList(), (std::vector<std::string>{"27", "26", "25", "24", "23", "22", "21", "20", "7", "1.5"}));
}

}  // namespace
