// The pass list of the running Tallykeep.exe, chosen from its menu. Another
// process's menu cannot be read under Wine: the list shows in the number box
// when an entry is taken back, in what the game is dealt, and in the settings
// file after shutdown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using Slots = std::vector<std::string>;

class TallykeepPassList : public TallykeepTest {
protected:
    // Chooses the menu item (kCmdPass or a Retry item); true when the box then shows `shown`.
    bool choose(UINT command, const std::string& shown) {
        results().menuCommand(command);
        return results().waitForNumberBox(shown);
    }
    void type(const std::string& keys) {
        results().selectInNumberBox(0, -1);
        results().typeIntoNumberBox(keys);
    }
    bool typeAndPass(const std::string& number, const std::string& next) {
        type(number);
        return choose(kCmdPass, next);
    }
    Slots savedListAfterClosing() {
        EXPECT_TRUE(session->closeAndWait()) << log().text();
        Slots slots;
        for (int slot = 0; slot < 10; ++slot)
            slots.push_back(iniValue(session->iniPath(), "Rtry", ("Retry" + std::to_string(slot)).c_str()));
        return slots;
    }
    // Answers the message box of that title; its text, or "<no box>".
    static std::string answerBox(const char* title) {
        const HWND box = waitForTopLevel("#32770", title);
        const std::string text = box ? windowText(GetDlgItem(box, 0xFFFF)) : "<no box>";
        if (box) clickButton(GetDlgItem(box, IDOK));
        waitUntilGone(box);
        return text;
    }
};

TEST_F(TallykeepPassList, PassedNumbersComeBackInNumericOrderAreDealtAndSurviveARestart) {
    start();
    ASSERT_TRUE(typeAndPass("1234", "1,235")) << results().numberBox();
    ASSERT_TRUE(choose(kCmdRetry0, "1,234")) << results().numberBox();
    for (const char* number : {"300", "200", "100", "500", "200"})
        ASSERT_TRUE(typeAndPass(number, std::to_string(std::stoi(number) + 1))) << number;
    ASSERT_TRUE(choose(kCmdRetry0 + 1, "300")) << "500, 300, 200, 100 expected: " << results().numberBox();
    const std::size_t mark = log().size();
    postKey(session->game, game::kVkF3);
    EXPECT_TRUE(log().waitFor("deal", std::string("300"), mark)) << log().text();
    ASSERT_TRUE(typeAndPass("999", "1,000"));
    ASSERT_TRUE(choose(kCmdPass, "1,001"));
    EXPECT_EQ(savedListAfterClosing(), (Slots{"1000", "999", "500", "200", "100", "", "", "", "", ""}));

    session->restart();
    EXPECT_TRUE(choose(kCmdRetry0 + 2, "500")) << results().numberBox();
}

// A non-number typed into the box stays out of the list; one written into the
// file by hand sorts below the numbers and stays until taken back.
TEST_F(TallykeepPassList, NonNumbersNeverBreakItAndTheEleventhPassIsRefused) {
    ASSERT_TRUE(WritePrivateProfileStringA("Rtry", "Retry0", "1.5", sandbox.path("Tallykeep.Ini").c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Rtry", "Retry2", "7", sandbox.path("Tallykeep.Ini").c_str()));
    start();
    type("12a");
    ASSERT_TRUE(results().waitForNumberBox("12A")) << results().numberBox();
    results().menuCommand(kCmdPass);
    EXPECT_EQ(answerBox("Tallykeep"), "'12A' is not a valid integer value");
    ASSERT_TRUE(typeAndPass("20", "21")) << results().numberBox();
    for (int next = 22; next <= 28; ++next) ASSERT_TRUE(choose(kCmdPass, std::to_string(next)));
    results().menuCommand(kCmdPass);
    EXPECT_EQ(answerBox("エラー"), "パスは10回までです");
    EXPECT_EQ(results().numberBox(), "28");
    EXPECT_EQ(savedListAfterClosing(), (Slots{"27", "26", "25", "24", "23", "22", "21", "20", "7", "1.5"}));
}

}  // namespace
